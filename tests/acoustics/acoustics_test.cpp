// Level statistics against values worked out by hand, through each way they are computed: the
// records of a file sorted, levels tallied per 0.1 dB with their times, and the energy mean of
// levels in rising order.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "acoustics/level_statistics.h"
#include "acoustics/level_tally.h"

namespace halvane {
namespace {

struct Worked {
  const char* name;
  std::vector<std::pair<double, std::int64_t>> levels;  // dB, and the ms each lasts
  std::optional<double> leq, lmax, lmin;
  std::array<std::optional<double>, kExceededPercents.size()> exceeded;  // L5 L10 L50 L90 L95
};

TEST(LevelStatistics, WorkedValuesAgreeWhicheverWayTheyAreComputed) {
  const std::vector<Worked> worked{
      {"a constant level",
       {{70, 160}, {70, 160}, {70, 160}, {70, 160}},
       70,
       70,
       70,
       {70, 70, 70, 70, 70}},
      // N·n/100 is whole for L10, L50 and L90: the second, sixth and tenth loudest.
      {"ten records of 91 to 100 dB",
       {{97, 1}, {91, 1}, {100, 1}, {94, 1}, {92, 1}, {99, 1}, {93, 1}, {96, 1}, {98, 1}, {95, 1}},
       96.411,
       100,
       91,
       {100, 99, 95, 91, 91}},
      {"three records, N·n/100 never whole",
       {{70, 1}, {80, 1}, {60, 1}},
       75.682,
       80,
       60,
       {80, 80, 70, 60, 60}},
      // 80 dB lasts exactly 10 % of the time: it is exceeded for 0 %, 60 dB for 10 %.
      {"80 dB for 1 s, 60 dB for 9 s",
       {{60, 9000}, {80, 1000}},
       70.374,
       80,
       60,
       {80, 60, 60, 60, 60}},
      {"levels that overflow a plain sum",
       {{99999, 1}, {99989, 1}},
       99996.404,
       99999,
       99989,
       {99999, 99999, 99989, 99989, 99989}},
      {"the loudest level the meter sends",
       {{6553.5, 160}, {6500, 160}},
       6550.490,
       6553.5,
       6500,
       {6553.5, 6553.5, 6500, 6500, 6500}},
      {"nothing", {}, std::nullopt, std::nullopt, std::nullopt, {}},
  };
  for (const Worked& w : worked) {
    std::vector<double> records;
    LevelTally tally;
    tally.Add(1234, 777);  // taken back before the statistics
    EnergyMean rising;
    std::vector<std::pair<double, std::int64_t>> levels = w.levels;
    std::ranges::sort(levels);
    for (const auto& [db, ms] : levels) {
      records.push_back(db);
      tally.Add(static_cast<TenthsDb>(std::lround(std::min(db, 6553.5) * 10)), ms);
      rising.Add(db, static_cast<double>(ms));
    }
    tally.Remove(1234, 777);
    std::vector<std::pair<const char*, LevelStatistics>> ways;
    if (std::ranges::all_of(levels, [&](const auto& l) { return l.second == levels[0].second; })) {
      ways.emplace_back("records", EqualDurationStatistics(records));
    }
    if (std::ranges::all_of(levels, [](const auto& level) { return level.first <= 6553.5; })) {
      ways.emplace_back("tally", tally.Statistics());
    }
    for (const auto& [way, s] : ways) {
      SCOPED_TRACE(std::string(w.name) + ", " + way);
      EXPECT_NEAR(s.leq.value_or(-1), w.leq.value_or(-1), 0.001);
      EXPECT_EQ(std::tie(s.lmax, s.lmin, s.exceeded), std::tie(w.lmax, w.lmin, w.exceeded));
    }
    EXPECT_NEAR(rising.Leq().value_or(-1), w.leq.value_or(-1), 0.001) << w.name << ", rising";
  }
}

}  // namespace
}  // namespace halvane
