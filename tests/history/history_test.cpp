// The level history against values worked out by hand: what a poll keeps, statistics of a span
// with a gap and "---.-" readings, the chart's envelope, the limit's exceedances, the segments
// of quantities and of the PC's clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>

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
constexpr int kGap = -1;           // no reading: meter absent
constexpr int kNotMeasuring = -2;  // the meter answers outside "Measurement Mode"
constexpr int kDashes = 0;         // a reading shown as "---.-"

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
  poll.measuring = tenths >= 0;
  poll.answered = tenths != kGap;
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
  std::int64_t wall_shift_ms = 0;
};

LevelHistory HistoryOf(std::initializer_list<TimedLevel> polls) {
  LevelHistory history(256);
  for (const TimedLevel& poll : polls) {
    history.Append(Poll(poll.offset_ms, poll.tenths, poll.quantity, poll.wall_shift_ms));
  }
  return history;
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
    double leq, lmax, lmin, covered;
    std::array<std::optional<double>, 5> exceeded;  // L5 L10 L50 L90 L95
  };
  // Whole series: 60 and 70 for 0.16 s each, 80 for 0.5 s, the newest 70 for one poll:
  // 10 lg((0.16e6 + 0.32e7 + 0.5e8) / 0.98) = 77.360; 80 dB lasts more than half the time.
  // From 160 to 1000 ms: 70 for 0.16 s, 80 for 0.5 s: 10 lg((0.16e7 + 0.5e8) / 0.66) = 78.931.
  for (const Case& c : {Case{0, 2000, 5, 1, 77.360, 80, 60, 0.98, {80, 80, 80, 60, 60}},
                        Case{160, 1000, 3, 1, 78.931, 80, 70, 0.66, {80, 80, 80, 70, 70}}}) {
    const HistoryStatistics s =
        SpanStatisticsTracker().Compute(history, kStart + c.from, kStart + c.to)[0];
    EXPECT_EQ(std::tie(s.readings, s.left_out, s.levels.lmax, s.levels.lmin, s.levels.exceeded),
              std::tie(c.readings, c.left_out, c.lmax, c.lmin, c.exceeded));
    EXPECT_NEAR(s.levels.leq.value_or(0), c.leq, 0.001);
    EXPECT_NEAR(s.covered_seconds, c.covered, 1e-9);
  }
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
      const auto all = [](const HistoryStatistics& s) {
        return std::tie(s.quantity, s.mixed, s.readings, s.left_out, s.covered_seconds,
                        s.levels.leq, s.levels.lmax, s.levels.lmin, s.levels.exceeded);
      };
      ASSERT_EQ(all(kept[channel]), all(fresh[channel])) << poll;
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

TEST(HistorySeries, GapsAreFoundWithWhyAlsoWhereTheyBeginBeforeTheSpan) {
  const LevelHistory history = HistoryOf({{0, 600},
                                          {160, 610},
                                          {320, kGap},
                                          {480, kGap},
                                          {640, kNotMeasuring},
                                          {800, kDashes},
                                          {960, kGap}});
  const HistoryGap away{kStart + 320, kStart + 640, false};
  const HistoryGap idle{kStart + 640, kStart + 800, true};
  const HistoryGap newest{kStart + 960, kStart + 960 + LevelHistory::kPollMs, false};
  const struct {
    std::int64_t from_ms, to_ms;
    std::vector<HistoryGap> gaps;
  } rows[] = {{0, 2000, {away, idle, newest}},
              {500, 700, {{kStart + 480, kStart + 640, false}, idle}},
              {800, 900, {}}};
  for (const auto& row : rows) {
    EXPECT_EQ(FindHistoryGaps(history, kStart + row.from_ms, kStart + row.to_ms), row.gaps)
        << row.from_ms;
  }
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
  const HistoryQuantity octave = Quantity(1, "LAF", true);
  const HistoryQuantity leq = Quantity(1, "LAeq", false);
  // After a gap the same quantity goes on; then the display mode, the item and the clock change;
  // a clock off by less than a second is the same; a time earlier than the newest is kept in order.
  const std::initializer_list<TimedLevel> polls = {{0, kGap},
                                                   {160, 600},
                                                   {320, kGap},
                                                   {480, 600},
                                                   {640, 600, octave},
                                                   {800, 600, leq},
                                                   {960, 600, leq, -kHour},
                                                   {1120, 600, leq, 900 - kHour},
                                                   {1000, 600, leq, -kHour}};
  LevelHistory history = HistoryOf(polls);
  using Begins = std::tuple<std::uint64_t, std::optional<HistoryQuantity>, bool, std::int64_t>;
  std::vector<Begins> begins;
  for (const HistorySegment& segment : history.Segments()) {
    begins.emplace_back(segment.first, segment.quantity, segment.new_quantity,
                        segment.clock_jump_ms);
  }
  EXPECT_EQ(begins, (std::vector<Begins>{{0, std::nullopt, false, 0},
                                         {1, kLaf, true, 0},
                                         {4, octave, true, 0},
                                         {5, leq, true, 0},
                                         {6, leq, false, -kHour}}));
  // The time axis goes on; the wall clock labels it.
  EXPECT_EQ(history.At(8).time_ms, kStart + 1120);
  EXPECT_EQ(history.WallMsAt(7), kStart + 1120 + 900 - kHour);
  EXPECT_EQ(history.WallMsAt(5), kStart + 800);
  EXPECT_EQ(history.WallOffsetAt(kStart + 959), 0);
  EXPECT_EQ(history.WallOffsetAt(kStart + 960), -kHour);
  for (int poll = 0; poll < 256; ++poll) {
    history.Append(Poll(1280 + poll * 160, 600, leq, -kHour));
  }
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
