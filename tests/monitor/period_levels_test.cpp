// Worked values of the monitor's statistics, and a meter's readings turned into periods, gaps
// and events.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "acoustics/day_levels.h"
#include "acoustics/exceedance_events.h"
#include "monitor/meter_monitor.h"

namespace halvane {
namespace {

constexpr WallMs kMinute = 60 * kSecondMs;
// 2026-06-01T00:00:00Z, a Monday.
constexpr WallMs kJuneFirst = 1'780'272'000'000;

// Runs the test in a zone with summer time, and checks that the zone took.
class InBerlin : public testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    ASSERT_EQ(UtcOffsetMs(kJuneFirst), 2 * kHourMs) << "no zone data for Europe/Berlin";
  }
  void TearDown() override {
    unsetenv("TZ");
    tzset();
  }
};

struct ExceededCase {
  std::vector<std::pair<int, WallMs>> levels;  // tenths of a dB, ms
  std::array<double, 5> exceeded;              // L5, L10, L50, L90, L95
  double leq;
};

TEST(LevelStatisticsTest, PeriodsOfKnownDistributionsGiveTheirLevels) {
  const ExceededCase cases[] = {
      // Ten levels a second each: L10 is exceeded for exactly 10 % of the time.
      {{{400, 1000},
        {410, 1000},
        {420, 1000},
        {430, 1000},
        {440, 1000},
        {450, 1000},
        {460, 1000},
        {470, 1000},
        {480, 1000},
        {490, 1000}},
       {49, 48, 44, 40, 40},
       45.4107},
      // Weighted by time, not by reading: one long quiet reading, one short loud one.
      {{{500, 9000}, {800, 1000}}, {80, 50, 50, 50, 50}, 70.0389},
      // The highest level a reply can hold: no overflow.
      {{{65535, 160}, {65535, 160}}, {6553.5, 6553.5, 6553.5, 6553.5, 6553.5}, 6553.5},
  };
  for (const ExceededCase& row : cases) {
    PeriodAccumulator period("main", kMinute);
    std::vector<PeriodResult> done;
    WallMs time = kJuneFirst;
    for (const auto& [tenths, ms] : row.levels) {
      period.Add(time, time + ms, {"LAF", static_cast<TenthsDb>(tenths), {}}, done);
      time += ms;
    }
    period.Advance(kJuneFirst + kMinute, done);
    ASSERT_EQ(done.size(), 1u);
    const LevelStatistics& statistics = done[0].statistics;
    for (std::size_t i = 0; i < row.exceeded.size(); ++i) {
      EXPECT_DOUBLE_EQ(*statistics.exceeded[i], row.exceeded[i]) << "L" << kExceededPercents[i];
    }
    EXPECT_NEAR(*statistics.leq, row.leq, 5e-4);
    EXPECT_EQ(done[0].covered_ms, time - kJuneFirst);
    EXPECT_EQ(done[0].missing_ms, kMinute - done[0].covered_ms);
  }
}

TEST(LevelStatisticsTest, ExposureLevelOfAnExceedance) {
  std::vector<ExceedanceEvent> events;
  EventDetector detector("main", {70, 10 * kSecondMs});
  const ChannelLevel loud{"LAF", 800, {}};
  const ChannelLevel quiet{"LAF", 600, {}};
  detector.Add(0, 10 * kSecondMs, loud, events);
  detector.Add(10 * kSecondMs, 11 * kSecondMs, quiet, events);
  detector.Add(11 * kSecondMs, 20 * kSecondMs, loud, events);  // 9 s: too short
  detector.Interrupt(events);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].end_ms, 10 * kSecondMs);
  EXPECT_DOUBLE_EQ(events[0].lmax, 80);
  EXPECT_NEAR(events[0].sel, 90.0, 1e-9);  // Leq + 10 lg(10 s / 1 s)
}

struct DayCase {
  WallMs day_start;  // local midnight in Berlin
  int hours;
  double lden_above_level;
};

TEST_F(InBerlin, ConstantLevelGivesLdenSixPointFourAboveIt) {
  const DayCase cases[] = {
      {kJuneFirst - 2 * kHourMs, 24, 6.3952},  // 6.4 dB as ISO 1996-1 rounds it
      {1'774'738'800'000, 23, 6.1439},  // 2026-03-29: the clocks go forward, the night is 7 h
      {1'792'879'200'000, 25, 6.6143},  // 2026-10-25: the clocks go back, the night is 9 h
  };
  for (const DayCase& row : cases) {
    ASSERT_EQ(LocalDayStart(row.day_start + kHourMs), row.day_start);
    ASSERT_EQ(LocalDayEnd(row.day_start) - row.day_start, row.hours * kHourMs);
    DayLevels days;
    std::vector<DayResult> done;
    for (int hour = 0; hour < row.hours; ++hour) {
      PeriodResult result;
      result.channel = "main";
      result.start_ms = row.day_start + hour * kHourMs;
      result.quantity = "LAF";
      result.statistics.leq = 55;
      result.covered_ms = hour == 3 ? kHourMs / 2 : kHourMs;
      days.Add(result, done);
    }
    days.Advance(row.day_start + row.hours * kHourMs, done);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_NEAR(*done[0].lden, 55 + row.lden_above_level, 5e-4);
    EXPECT_NEAR(*done[0].parts[2].level, 55, 1e-9);
    EXPECT_NEAR(done[0].parts[2].Coverage(), 1 - 0.5 / (row.hours - 16),
                1e-9);  // the night lost half an hour
    EXPECT_DOUBLE_EQ(done[0].parts[0].Coverage(), 1.0);
  }
}

// Readings of a meter every 160 ms, as the poll makes them.
class MeterReadings {
 public:
  MeterReadings(MeterMonitor& monitor, WallMs start) : monitor_(monitor), time_(start) {}
  void Answer(WallMs for_ms, ChannelLevel main, ChannelLevel sub = {"LCS", 500, {}}) {
    for (const WallMs end = time_ + for_ms; time_ < end; time_ += 160) {
      MonitorReading reading{time_, {main, sub}, {}};
      monitor_.Answered(reading, records);
    }
  }
  void Miss(WallMs for_ms) {
    for (const WallMs end = time_ + for_ms; time_ < end; time_ += 2160) {
      monitor_.Missed(time_, records);
    }
  }
  WallMs Now() const { return time_; }
  MonitorRecords records;

 private:
  MeterMonitor& monitor_;
  WallMs time_;
};

TEST_F(InBerlin, PeriodsSplitAtChangesAndCountTheTimeWithoutReadings) {
  MonitorSettings settings;
  settings.periods_ms = {kMinute};
  MeterMonitor monitor(settings, PreviousRun{kJuneFirst - 30 * kSecondMs, true});
  MeterReadings meter(monitor, kJuneFirst);
  const ChannelLevel laf{"LAF", 650, {}};
  meter.Answer(20 * kSecondMs, laf);
  meter.Miss(10 * kSecondMs);  // unplugged
  meter.Answer(30 * kSecondMs, laf);
  meter.Answer(30 * kSecondMs, {"LAeq", std::nullopt, "shows LAeq"});
  monitor.Close(kJuneFirst + 2 * kMinute, meter.records);

  std::vector<PeriodResult> main;
  for (const PeriodResult& period : meter.records.periods) {
    if (period.channel == "main" && period.period_ms == kMinute) {
      main.push_back(period);
    }
  }
  ASSERT_EQ(main.size(), 4u);
  // The results go on where those of the previous run ended.
  EXPECT_EQ(main[0].start_ms, kJuneFirst - 30 * kSecondMs);
  EXPECT_EQ(main[0].note, "no readings");
  main.erase(main.begin());
  EXPECT_EQ(main[0].start_ms, kJuneFirst);
  EXPECT_NEAR(*main[0].statistics.leq, 65, 1e-9);
  EXPECT_EQ(main[0].covered_ms + main[0].missing_ms, kMinute);
  EXPECT_EQ(main[1].quantity, "LAF");  // the second minute splits where LAeq is shown
  EXPECT_EQ(main[2].quantity, "LAeq");
  EXPECT_EQ(main[2].note, "shows LAeq");
  EXPECT_EQ(main[1].end_ms, main[2].start_ms);
  EXPECT_EQ(main[2].end_ms, kJuneFirst + 2 * kMinute);

  ASSERT_EQ(meter.records.gaps.size(), 2u);
  EXPECT_EQ(meter.records.gaps[0].reason, kGapNotRunning);
  EXPECT_EQ(meter.records.gaps[0].start_ms, kJuneFirst - 30 * kSecondMs);
  EXPECT_EQ(meter.records.gaps[1].reason, kGapMeterAway);
  EXPECT_EQ(meter.records.gaps[1].end_ms - meter.records.gaps[1].start_ms, main[0].missing_ms);
}

}  // namespace
}  // namespace halvane
