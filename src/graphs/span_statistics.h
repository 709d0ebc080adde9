#pragma once
// Statistics of the records between the cursor graph's two cursors. The records of a file are
// logged at one interval, so each counts the same time.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "acoustics/level_statistics.h"

namespace halvane {

struct SpanStatistics {
  std::size_t records = 0;   // records in the span
  std::size_t left_out = 0;  // of them, those whose value is not a number
  // Whether the item's energy mean means something; without it `levels` has no Leq and no L_N.
  bool energy_mean_applies = true;
  LevelStatistics levels;  // of the records with a number
};

// Records of a sound level (LP, Leq, a band) can be energy-averaged; those of LE, Lmax, Lmin or
// a percentile cannot. `item_name` as the item list names it ("Leq(Main)", "1/3 OCT 1k Hz").
bool EnergyMeanApplies(std::string_view item_name);

// The statistics of the values of records `first` to `last` (from 1, in either order), clamped
// to the records held; a value that is not a number is left out and counted.
SpanStatistics ComputeSpanStatistics(std::span<const std::optional<double>> values,
                                     std::int64_t first, std::int64_t last,
                                     bool energy_mean_applies);

// The statistics as the lines the cursor graph shows.
std::string SpanStatisticsText(const SpanStatistics& statistics);

}  // namespace halvane
