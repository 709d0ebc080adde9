#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "sim/simulated_meter.h"
#include "sim_test_support.h"

namespace halvane {
namespace {

// Everything after the clock and the measurement time.
bool SameLevels(const InputReportBuffer& a, const InputReportBuffer& b) {
  return std::equal(a.begin() + 17, a.end(), b.begin() + 17);
}

TEST(LevelModel, SeedFixesTheLevelsWhateverTheWallClockDoesAndTheyMove) {
  ManualClock slow;
  ManualClock fast;
  SimulatedMeter first(7, slow.Reader());
  SimulatedMeter second(7, fast.Reader());
  SimulatedMeter other_seed(8, slow.Reader());
  int moves = 0;
  int previous = -1;
  for (int poll = 0; poll < 200; ++poll) {
    fast.now += std::chrono::hours{1};
    const InputReportBuffer reply = Poll(first);
    EXPECT_TRUE(SameLevels(reply, Poll(second))) << "poll " << poll;
    EXPECT_FALSE(SameLevels(reply, Poll(other_seed))) << "poll " << poll;
    moves += Tenths(reply, 153) != previous ? 1 : 0;
    previous = Tenths(reply, 153);
  }
  EXPECT_GE(moves, 150);  // most polls move the level by a tenth or more
}

TEST(LevelModel, MainLevelWandersWithinAPlausibleRangeAndSubStaysAFewDbApart) {
  SimulatedMeter meter;
  constexpr int kPolls = 5000;
  int inside = 0;
  double lowest = 200.0;
  double highest = 0.0;
  double sub_apart = 0.0;
  for (int poll = 0; poll < kPolls; ++poll) {
    const InputReportBuffer reply = Poll(meter);
    const double level = Level(reply, 153);
    inside += level >= 44.0 && level <= 91.0 ? 1 : 0;
    lowest = std::min(lowest, level);
    highest = std::max(highest, level);
    sub_apart += std::abs(Level(reply, 159) - level) / kPolls;
  }
  EXPECT_GE(inside, kPolls * 99 / 100);
  EXPECT_GE(lowest, 44.0);
  EXPECT_GT(highest - lowest, 15.0);
  EXPECT_GT(sub_apart, 1.0);
  EXPECT_LT(sub_apart, 8.0);
}

TEST(LevelModel, StatisticsStayOrderedAndCoverTheWholeRun) {
  SimulatedMeter meter;
  double lowest = 200.0;
  double highest = 0.0;
  InputReportBuffer reply{};
  for (int poll = 1; poll <= 1000; ++poll) {
    reply = Poll(meter);
    lowest = std::min(lowest, Level(reply, 153));
    highest = std::max(highest, Level(reply, 153));
    for (std::size_t leq : {135u, 27u}) {  // main, sub: Leq LE Lmax Lmin L05 L10 L50 L90 L95
      const double lmax = Level(reply, leq + 4);
      const double lmin = Level(reply, leq + 6);
      EXPECT_LE(Level(reply, leq + 8), lmax);
      for (std::size_t percentile = leq + 8; percentile < leq + 16; percentile += 2) {
        EXPECT_GE(Level(reply, percentile), Level(reply, percentile + 2)) << "byte " << percentile;
      }
      EXPECT_LE(lmin, Level(reply, leq + 16));
      EXPECT_GE(Level(reply, leq), lmin);
      EXPECT_LE(Level(reply, leq), lmax);
      EXPECT_NEAR(Level(reply, leq + 2), Level(reply, leq) + 10.0 * std::log10(poll * 0.16), 0.15);
    }
  }
  EXPECT_DOUBLE_EQ(Level(reply, 139), highest);
  EXPECT_DOUBLE_EQ(Level(reply, 141), lowest);
}

}  // namespace
}  // namespace halvane
