#include "acoustics/level_statistics_text.h"

#include <charconv>

namespace halvane {

std::string LevelText(std::optional<double> level_db) {
  if (!level_db) {
    return "---.-";
  }
  char text[32];
  const auto written =
      std::to_chars(text, text + sizeof text, *level_db, std::chars_format::fixed, 1);
  return std::string(text, written.ptr);
}

std::string LevelStatisticsText(const LevelStatistics& statistics, bool energy_mean_applies) {
  const std::string extremes =
      "Lmax " + LevelText(statistics.lmax) + "  Lmin " + LevelText(statistics.lmin);
  if (!energy_mean_applies) {
    return extremes;
  }
  return "Leq " + LevelText(statistics.leq) + "  " + extremes + "\nL10 " +
         LevelText(statistics.Exceeded(10)) + "  L50 " + LevelText(statistics.Exceeded(50)) +
         "  L90 " + LevelText(statistics.Exceeded(90));
}

}  // namespace halvane
