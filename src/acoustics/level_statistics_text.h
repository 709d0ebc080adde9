#pragma once
// Statistics as the windows show them, with the same digits under every locale.

#include <optional>
#include <string>

#include "acoustics/level_statistics.h"

namespace halvane {

// A level with one decimal; "---.-" for none.
std::string LevelText(std::optional<double> level_db);

// "Leq 64.4  Lmax 70.0  Lmin 40.0" and "L10 70.0  L50 60.0  L90 40.0" on a second line; only
// "Lmax …  Lmin …" for levels whose energy mean means nothing (an Lmax or an Leq item, say).
std::string LevelStatisticsText(const LevelStatistics& statistics, bool energy_mean_applies);

}  // namespace halvane
