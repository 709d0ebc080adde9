#include "graphs/span_statistics.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "text/number_text.h"

namespace halvane {

namespace {

// The level exceeded by `percent` of the sorted (highest first) levels: the value of rank
// ceil(percent / 100 * n).
double Exceeded(const std::vector<double>& highest_first, double percent) {
  const double rank = std::ceil(percent / 100.0 * static_cast<double>(highest_first.size()));
  const std::size_t index = rank < 1 ? 0 : static_cast<std::size_t>(rank) - 1;
  return highest_first[std::min(index, highest_first.size() - 1)];
}

std::string Level(const std::optional<double>& level) {
  if (!level) {
    return "---.-";
  }
  return FixedPointText(*level, 1);
}

}  // namespace

SpanStatistics ComputeSpanStatistics(std::span<const std::optional<double>> values,
                                     std::int64_t first, std::int64_t last) {
  SpanStatistics statistics;
  const auto held = static_cast<std::int64_t>(values.size());
  const std::int64_t from = std::clamp(std::min(first, last), std::int64_t{1}, held + 1);
  const std::int64_t to = std::clamp(std::max(first, last), std::int64_t{0}, held);
  std::vector<double> levels;
  double energy = 0;
  for (std::int64_t record = from; record <= to; ++record) {
    ++statistics.records;
    const std::optional<double>& value = values[static_cast<std::size_t>(record - 1)];
    if (!value || !std::isfinite(*value)) {
      ++statistics.left_out;
      continue;
    }
    levels.push_back(*value);
    energy += std::pow(10.0, *value / 10.0);
  }
  if (levels.empty()) {
    return statistics;
  }
  std::sort(levels.begin(), levels.end(), std::greater<>());
  statistics.leq = 10.0 * std::log10(energy / static_cast<double>(levels.size()));
  statistics.lmax = levels.front();
  statistics.lmin = levels.back();
  statistics.l10 = Exceeded(levels, 10);
  statistics.l50 = Exceeded(levels, 50);
  statistics.l90 = Exceeded(levels, 90);
  return statistics;
}

std::string SpanStatisticsText(const SpanStatistics& statistics) {
  return "Records " + std::to_string(statistics.records) + " (" +
         std::to_string(statistics.left_out) + " without a level)\nLeq " + Level(statistics.leq) +
         "  Lmax " + Level(statistics.lmax) + "  Lmin " + Level(statistics.lmin) + "\nL10 " +
         Level(statistics.l10) + "  L50 " + Level(statistics.l50) + "  L90 " +
         Level(statistics.l90);
}

}  // namespace halvane
