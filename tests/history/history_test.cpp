// The level history against values worked out by hand: what a poll keeps, statistics of a span
// with a gap and "---.-" readings, the chart's envelope, the limit's exceedances, the segments
// of quantities and of the PC's clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>

#include "acoustics/level_statistics.h"
#include "history/history_csv.h"
#include "history/history_series.h"
#include "history/history_statistics.h"
#include "history/level_history.h"
#include "records/atomic_file.h"
#include "tests/file_text.h"

namespace halvane {
namespace {

constexpr std::int64_t kStart = 1'700'000'000'000;  // PC time of the first poll, ms
constexpr std::int64_t kHour = 3'600'000;
constexpr int kGap = -1;    // no reading: meter absent
constexpr int kDashes = 0;  // a reading shown as "---.-"

HistoryQuantity Quantity(int display_mode, const std::string& main, bool main_lp) {
  return {
      {ChannelQuantity{display_mode, main, main_lp}, ChannelQuantity{display_mode, "LCS", true}}};
}
const HistoryQuantity kLaf = Quantity(0, "LAF", true);
const HistoryQuantity kLaeq = Quantity(0, "LAeq", false);

// A poll at `offset_ms` after kStart, by the wall clock `wall_shift_ms` off the monotonic one,
// whose two channels read `tenths` (or a gap).
HistoryPoll Poll(std::int64_t offset_ms, int tenths, const HistoryQuantity& quantity = kLaf,
                 std::int64_t wall_shift_ms = 0) {
  HistoryPoll poll;
  poll.time = {kStart + offset_ms, kStart + offset_ms + wall_shift_ms};
  poll.measuring = tenths != kGap;
  if (poll.measuring) {
    poll.main = poll.sub = static_cast<TenthsDb>(tenths);
    poll.quantity = quantity;
  }
  return poll;
}

struct TimedLevel {
  std::int64_t offset_ms;
  int tenths;
  const HistoryQuantity& quantity = kLaf;
};

LevelHistory HistoryOf(std::initializer_list<TimedLevel> polls) {
  LevelHistory history(256);
  for (const TimedLevel& poll : polls) {
    history.Append(Poll(poll.offset_ms, poll.tenths, poll.quantity));
  }
  return history;
}

void ExpectSameStatistics(const HistoryStatistics& a, const HistoryStatistics& b) {
  EXPECT_EQ(std::tie(a.quantity, a.mixed, a.readings, a.left_out),
            std::tie(b.quantity, b.mixed, b.readings, b.left_out));
  ASSERT_EQ(a.levels.leq.has_value(), b.levels.leq.has_value());
  if (a.levels.leq) {
    EXPECT_NEAR(*a.levels.leq, *b.levels.leq, 1e-9);
  }
  EXPECT_EQ(std::tie(a.levels.lmax, a.levels.lmin, a.levels.exceeded),
            std::tie(b.levels.lmax, b.levels.lmin, b.levels.exceeded));
  EXPECT_NEAR(a.covered_seconds, b.covered_seconds, 1e-9);
}

TEST(HistoryPoll, TakesTheScreensMainLevelTheSubLpAndWhatTheyAre) {
  struct Case {
    int display_mode;
    int item;
    TenthsDb main;  // expected
    bool measuring;
    HistoryQuantity quantity;
  };
  for (const Case& c :
       {Case{0, 1, 0x0102, true, Quantity(0, "LAeq", false)},
        Case{1, 0, 0x0304, true, Quantity(1, "LAF", true)},
        Case{6, 3, 0x0304, true, Quantity(6, "LAFmax", false)}, Case{8, 0, kNoLevel, false, {}}}) {
    InputReportBuffer reply{};
    reply[4] = static_cast<std::uint8_t>(c.display_mode);
    reply[19] = 0x10;  // main A, sub C
    reply[20] = 0x10;  // main F, sub S
    reply[21] = static_cast<std::uint8_t>(c.item);
    reply[23] = 0x02, reply[24] = 0x9A;
    reply[133] = 0x01, reply[134] = 0x02;
    reply[153] = 0x03, reply[154] = 0x04;
    const LiveReading reading = DecodeLiveReply(reply);
    const HistoryPoll poll = HistoryPollFromReading({1, kStart}, &reading);
    EXPECT_EQ(poll.measuring, c.measuring) << c.display_mode;
    EXPECT_EQ(poll.main, c.main) << c.display_mode;
    EXPECT_EQ(poll.quantity, c.quantity) << c.display_mode;
    EXPECT_EQ(poll.sub, c.measuring ? 0x029A : kNoLevel);
  }
  EXPECT_FALSE(HistoryPollFromReading({}, nullptr).measuring);
}

TEST(HistoryStatistics, SpanWithAGapAndDashesWorkedOutByHand) {
  // 60, 70, a gap, "---.-", 80, then 70 a whole second later: the 80 stands for 0.5 s at most.
  const LevelHistory history =
      HistoryOf({{0, 600}, {160, 700}, {320, kGap}, {480, kDashes}, {640, 800}, {1640, 700}});
  struct Case {
    std::int64_t from, to;
    std::size_t readings, left_out;
    double leq, lmax, lmin, l10, l50, l90, covered;
  };
  // Whole series: 60 and 70 for 0.16 s each, 80 for 0.5 s, the newest 70 for one poll:
  // 10 lg((0.16e6 + 0.32e7 + 0.5e8) / 0.98) = 77.360; 80 dB lasts more than half the time.
  // From 160 to 1000 ms: 70 for 0.16 s, 80 for 0.5 s: 10 lg((0.16e7 + 0.5e8) / 0.66) = 78.931.
  for (const Case& c : {Case{0, 2000, 5, 1, 77.360, 80, 60, 80, 80, 60, 0.98},
                        Case{160, 1000, 3, 1, 78.931, 80, 70, 80, 80, 70, 0.66}}) {
    const HistoryStatistics s =
        SpanStatisticsTracker().Compute(history, kStart + c.from, kStart + c.to)[0];
    EXPECT_EQ(s.readings, c.readings);
    EXPECT_EQ(s.left_out, c.left_out);
    ASSERT_TRUE(s.levels.leq);
    EXPECT_NEAR(*s.levels.leq, c.leq, 0.001);
    EXPECT_EQ(std::tie(s.levels.lmax, s.levels.lmin), std::tie(c.lmax, c.lmin));
    EXPECT_EQ(s.levels.Exceeded(10), c.l10);
    EXPECT_EQ(s.levels.Exceeded(50), c.l50);
    EXPECT_EQ(s.levels.Exceeded(90), c.l90);
    EXPECT_NEAR(s.covered_seconds, c.covered, 1e-9);
  }
  const HistoryStatistics empty =
      SpanStatisticsTracker().Compute(history, kStart + 300, kStart + 500)[1];
  EXPECT_EQ(empty.readings, 1U);
  EXPECT_FALSE(empty.levels.leq);
}

// Readings 160 ms apart each stand for the same time, so the tallies must give what the cursor
// graph gives for records.
TEST(HistoryStatistics, TalliesOfEvenReadingsAgreeWithTheRecordStatistics) {
  LevelHistory history(1024);
  SinceOpeningStatistics since_opening;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> tenths(-40, 1200);
  for (int poll = 0; poll < 1000; ++poll) {
    const int level = tenths(random);
    history.Append(Poll(poll * 160, level < -20 ? kGap : std::max(level, kDashes)));
    since_opening.Add(history);
  }
  std::vector<double> numbered;
  std::size_t readings = 0;
  for (std::size_t i = 0; i < history.Size(); ++i) {
    readings += history.At(i).measuring ? 1 : 0;
    if (const auto level = history.At(i).Level(HistoryChannel::kSub)) {
      numbered.push_back(Db(*level));
    }
  }
  HistoryStatistics reference;
  reference.quantity = kLaf.Of(HistoryChannel::kSub);
  reference.readings = readings;
  reference.left_out = readings - numbered.size();
  reference.covered_seconds = 0.16 * static_cast<double>(numbered.size());
  reference.levels = EqualDurationStatistics(numbered);
  ExpectSameStatistics(SpanStatisticsTracker().Compute(history, kStart, kStart + 160'000)[1],
                       reference);
  ExpectSameStatistics(since_opening.Current(HistoryChannel::kSub), reference);
}

// A tracker kept from redraw to redraw, following the newest sample of a full ring, panned
// and zoomed, across changes of quantity and of the PC's clock, agrees with a count made afresh
// every time.
TEST(HistoryStatistics, TrackedSpanAgreesWithAFreshCountWhileTheRingTurns) {
  LevelHistory history(256);
  SpanStatisticsTracker tracked;
  std::mt19937 random(11);
  std::int64_t offset = 0;
  std::int64_t wall_shift = 0;
  const HistoryQuantity* quantity = &kLaf;
  for (int poll = 0; poll < 1000; ++poll) {
    offset += random() % 50 == 0 ? 1000 : 160;
    wall_shift += random() % 200 == 0 ? -kHour : 0;
    quantity = random() % 60 == 0 ? (quantity == &kLaf ? &kLaeq : &kLaf) : quantity;
    const int level = static_cast<int>(random() % 400) + 400;
    tracked.BeforeAppend(history);
    history.Append(Poll(offset, random() % 20 == 0 ? kGap : (level < 420 ? kDashes : level),
                        *quantity, wall_shift));
    std::int64_t to = offset + 1;
    std::int64_t width = 160 * static_cast<std::int64_t>(1 + random() % 300);
    if (random() % 10 == 0) {  // panned back, or zoomed
      to -= 160 * static_cast<std::int64_t>(random() % 200);
      width = 160 * static_cast<std::int64_t>(random() % 400);
    }
    const auto kept = tracked.Compute(history, kStart + to - width, kStart + to);
    const auto fresh = SpanStatisticsTracker().Compute(history, kStart + to - width, kStart + to);
    for (std::size_t channel = 0; channel < 2; ++channel) {
      SCOPED_TRACE(poll);
      ExpectSameStatistics(kept[channel], fresh[channel]);
    }
  }
}

TEST(HistorySeries, FewSamplesAreDrawnAsTheyAreAndNeverJoinedAcrossABreak) {
  // 60, 70, gap, 80, "---.-", 90, then 95 after a second without polls, and LAeq 96 right after.
  const LevelHistory history = HistoryOf({{0, 600},
                                          {160, 700},
                                          {320, kGap},
                                          {480, 800},
                                          {640, kDashes},
                                          {800, 900},
                                          {1800, 950},
                                          {1960, 960, kLaeq}});
  const HistorySeries series = BuildHistorySeries(
      history, HistoryChannel::kMain, kLaf.Of(HistoryChannel::kMain), kStart, kStart + 2000, 907);
  const std::vector<double> expected{60, 70, NAN, 80, NAN, 90, NAN, 95, NAN, 96};
  ASSERT_EQ(series.levels.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(std::isnan(series.levels[i]), std::isnan(expected[i])) << i;
    if (!std::isnan(expected[i])) {
      EXPECT_DOUBLE_EQ(series.levels[i], expected[i]) << i;
    }
    EXPECT_EQ(series.shown[i], !std::isnan(expected[i]) && expected[i] < 96) << i;
  }
  EXPECT_DOUBLE_EQ(series.seconds.back(), (kStart + 1960) / 1000.0);
}

TEST(HistorySeries, EnvelopeKeepsEveryMinimumAndMaximumOfTheRawSamples) {
  // A ring that has wrapped, so the span starts inside a block whose summary is gone.
  LevelHistory history(1600);
  std::mt19937 random(11);
  std::uniform_int_distribution<int> tenths(300, 1100);
  for (int poll = 0; poll < 5000; ++poll) {
    const bool absent = poll >= 4000 && poll < 4150;  // an unplug of 24 s
    history.Append(Poll(poll * 160, absent ? kGap : tenths(random), poll < 4500 ? kLaf : kLaeq));
  }
  constexpr int kColumns = 16;                // the 1600 samples held
  constexpr std::int64_t kColumnMs = 16'000;  // 100 polls, more than a block
  const std::int64_t from = history.At(0).time_ms;
  const HistorySeries series = BuildHistorySeries(history, HistoryChannel::kMain, std::nullopt,
                                                  from, from + kColumns * kColumnMs, kColumns);
  int broken_columns = 0;
  for (int column = 0; column < kColumns; ++column) {
    const std::int64_t begin = from + column * kColumnMs;
    std::optional<double> raw_min, raw_max, drawn_min, drawn_max;
    bool gap = false;
    for (std::size_t i = 0; i < history.Size(); ++i) {
      const HistorySample& sample = history.At(i);
      if (sample.time_ms >= begin && sample.time_ms < begin + kColumnMs) {
        gap = gap || !sample.measuring;
        if (auto level = sample.Level(HistoryChannel::kMain)) {
          raw_min = std::min(raw_min.value_or(1e9), *level / 10.0);
          raw_max = std::max(raw_max.value_or(0), *level / 10.0);
        }
      }
    }
    const double middle = static_cast<double>(begin + kColumnMs / 2) / 1000.0;
    for (std::size_t i = 0; i < series.seconds.size(); ++i) {
      if (series.seconds[i] == middle && !std::isnan(series.levels[i])) {
        drawn_min = std::min(drawn_min.value_or(1e9), series.levels[i]);
        drawn_max = std::max(drawn_max.value_or(0), series.levels[i]);
      }
    }
    EXPECT_EQ(drawn_min, raw_min) << column;
    EXPECT_EQ(drawn_max, raw_max) << column;
    broken_columns += gap ? 1 : 0;
  }
  EXPECT_EQ(broken_columns, 2);  // the unplug spans two columns
  const long breaks = std::count_if(series.levels.begin(), series.levels.end(),
                                    [](double level) { return std::isnan(level); });
  EXPECT_EQ(breaks, 3);  // before and after the unplug, where LAeq begins, nowhere else
}

TEST(LimitExceedances, CountDurationAndLastCrossingOfOneQuantityOnAMadeUpSeries) {
  // Above 70.0: [72, 75], [71], then after a gap [72, 72], a reading of LAeq that is not counted
  // and ends the run, [73 newest]; 70.0 itself is not above.
  const LevelHistory history = HistoryOf({{0, 650},
                                          {160, 720},
                                          {320, 750},
                                          {480, 700},
                                          {640, 710},
                                          {800, kGap},
                                          {960, 720},
                                          {1120, 720},
                                          {1280, 900, kLaeq},
                                          {1440, 730}});
  struct Case {
    std::int64_t from, to;
    std::size_t count;
    double seconds;
    std::optional<std::int64_t> last;
  };
  for (const Case& c :
       {Case{0, 2000, 4, 0.96, kStart + 1440}, Case{100, 700, 2, 0.48, kStart + 640},
        Case{400, 500, 0, 0, std::nullopt}}) {
    const LimitExceedances e =
        FindLimitExceedances(history, HistoryChannel::kMain, kLaf.Of(HistoryChannel::kMain),
                             kStart + c.from, kStart + c.to, 70.0);
    EXPECT_EQ(e.count, c.count) << c.from;
    EXPECT_NEAR(e.seconds, c.seconds, 1e-9) << c.from;
    EXPECT_EQ(e.last_crossing_wall_ms, c.last) << c.from;
  }
}

TEST(LevelHistory, SegmentsBeginAtEachNewQuantityAndWhereThePcClockIsSet) {
  LevelHistory history(128);
  const HistoryQuantity octave = Quantity(1, "LAF", true);
  const HistoryQuantity leq = Quantity(1, "LAeq", false);
  history.Append(Poll(0, kGap));
  history.Append(Poll(160, 600));
  history.Append(Poll(320, kGap));
  history.Append(Poll(480, 600));          // back after a gap: no change
  history.Append(Poll(640, 600, octave));  // display mode
  history.Append(Poll(800, 600, leq));     // item
  history.Append(Poll(960, 600, leq, -kHour));
  history.Append(Poll(1120, 600, leq, 900 - kHour));  // off by less than a second: the same
  history.Append(Poll(1000, 600, leq, -kHour));       // earlier: kept in order
  struct Begins {
    std::uint64_t first;
    std::optional<HistoryQuantity> quantity;
    bool new_quantity;
    std::int64_t clock_jump_ms;
  };
  const std::vector<Begins> expected{{0, std::nullopt, false, 0},
                                     {1, kLaf, true, 0},
                                     {4, octave, true, 0},
                                     {5, leq, true, 0},
                                     {6, leq, false, -kHour}};
  ASSERT_EQ(history.Segments().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const HistorySegment& segment = history.Segments()[i];
    EXPECT_EQ(
        std::tie(segment.first, segment.quantity, segment.new_quantity, segment.clock_jump_ms),
        std::tie(expected[i].first, expected[i].quantity, expected[i].new_quantity,
                 expected[i].clock_jump_ms))
        << i;
  }
  // The time axis goes on; the wall clock labels it.
  EXPECT_EQ(history.At(8).time_ms, kStart + 1120);
  EXPECT_EQ(history.WallMsAt(7), kStart + 1120 + 900 - kHour);
  EXPECT_EQ(history.WallMsAt(5), kStart + 800);
  EXPECT_EQ(history.WallOffsetAt(kStart + 959), 0);
  EXPECT_EQ(history.WallOffsetAt(kStart + 960), -kHour);
  for (int poll = 0; poll < 128; ++poll) {
    history.Append(Poll(1280 + poll * 160, 600, leq, -kHour));
  }
  EXPECT_EQ(history.Size(), 128U);
  ASSERT_EQ(history.Segments().size(), 1U);
  EXPECT_EQ(history.Segments()[0].quantity, leq);
}

TEST(HistoryCsv, ExportOfASpanReadsBackRowByRow) {
  LevelHistory history(64);
  history.Append(Poll(0, 935));
  history.Append(Poll(160, kGap));
  history.Append(Poll(320, kDashes));
  history.Append(Poll(480, 1000, kLaf, -kHour));
  const std::filesystem::path target =
      std::filesystem::temp_directory_path() / "halvane_history_export_test.csv";
  ASSERT_FALSE(WriteFileAtomically(target, HistoryCsvText(history, kStart, kStart + 481)));
  const std::string text = test::FileText(target);
  std::filesystem::remove(target);
  // kStart is 2023-11-14 22:13:20 UTC.
  EXPECT_EQ(text,
            "PC Time (UTC),Main Item,Main [dB],Sub Item,Sub [dB]\r\n"
            "2023-11-14T22:13:20.000Z,LAF,93.5,LCS,93.5\r\n"
            "2023-11-14T22:13:20.160Z,,,,\r\n"
            "2023-11-14T22:13:20.320Z,LAF,,LCS,\r\n"
            "2023-11-14T21:13:20.480Z,LAF,100.0,LCS,100.0\r\n");
}

}  // namespace
}  // namespace halvane
