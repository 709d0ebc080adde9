#include "graphs/span_statistics.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "acoustics/level_statistics_text.h"

namespace halvane {

bool EnergyMeanApplies(std::string_view item_name) {
  return item_name.starts_with("LP(") || item_name.starts_with("Leq(") ||
         item_name.starts_with("1/");
}

SpanStatistics ComputeSpanStatistics(std::span<const std::optional<double>> values,
                                     std::int64_t first, std::int64_t last,
                                     bool energy_mean_applies) {
  SpanStatistics statistics;
  statistics.energy_mean_applies = energy_mean_applies;
  const auto held = static_cast<std::int64_t>(values.size());
  const std::int64_t from = std::clamp(std::min(first, last), std::int64_t{1}, held + 1);
  const std::int64_t to = std::clamp(std::max(first, last), std::int64_t{0}, held);
  std::vector<double> levels;
  for (std::int64_t record = from; record <= to; ++record) {
    ++statistics.records;
    const std::optional<double>& value = values[static_cast<std::size_t>(record - 1)];
    if (!value || !std::isfinite(*value)) {
      ++statistics.left_out;
      continue;
    }
    levels.push_back(*value);
  }
  statistics.levels = EqualDurationStatistics(std::move(levels));
  if (!energy_mean_applies) {
    statistics.levels.leq.reset();
    statistics.levels.exceeded = {};
  }
  return statistics;
}

std::string SpanStatisticsText(const SpanStatistics& statistics) {
  return "Records " + std::to_string(statistics.records) + " (" +
         std::to_string(statistics.left_out) + " without a level)\n" +
         LevelStatisticsText(statistics.levels, statistics.energy_mean_applies);
}

}  // namespace halvane
