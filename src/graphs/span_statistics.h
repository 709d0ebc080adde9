#pragma once
// Statistics of the records between the cursor graph's two cursors.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace halvane {

struct SpanStatistics {
  std::size_t records = 0;   // records in the span
  std::size_t left_out = 0;  // of them, those whose value is not a number
  // Absent when no record of the span has a number.
  std::optional<double> leq;  // energy average: 10 log10 of the mean of 10^(L/10)
  std::optional<double> lmax;
  std::optional<double> lmin;
  // Levels exceeded by 10, 50 and 90 percent of the records (nearest rank).
  std::optional<double> l10;
  std::optional<double> l50;
  std::optional<double> l90;
};

// The statistics of the values of records `first` to `last` (from 1, in either order), clamped
// to the records held; a value that is not a number is left out and counted.
SpanStatistics ComputeSpanStatistics(std::span<const std::optional<double>> values,
                                     std::int64_t first, std::int64_t last);

// The statistics as the lines the cursor graph shows.
std::string SpanStatisticsText(const SpanStatistics& statistics);

}  // namespace halvane
