// The level history against values worked out by hand: what a poll keeps, statistics of a span
// with a gap and "---.-" readings, the chart's envelope, the limit's exceedances and the marks.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
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
constexpr int kGap = -1;                            // no reading: meter absent
constexpr int kDashes = 0;                          // a reading shown as "---.-"

// A poll at `offset_ms` after kStart whose two channels read `tenths` (or a gap).
HistoryPoll Poll(std::int64_t offset_ms, int tenths, HistoryQuantity quantity = {0, "LAF", "LCS"}) {
  HistoryPoll poll;
  poll.pc_time_ms = kStart + offset_ms;
  poll.measuring = tenths != kGap;
  if (poll.measuring) {
    poll.main = poll.sub = static_cast<TenthsDb>(tenths);
    poll.quantity = std::move(quantity);
  }
  return poll;
}

struct TimedLevel {
  std::int64_t offset_ms;
  int tenths;
};

LevelHistory HistoryOf(std::initializer_list<TimedLevel> polls) {
  LevelHistory history(256);
  for (const TimedLevel& poll : polls) {
    history.Append(Poll(poll.offset_ms, poll.tenths));
  }
  return history;
}

// 60, 70, a gap, "---.-", 80, then 70 a whole second later: a step worth at most 0.5 s.
const std::initializer_list<TimedLevel> kGapAndDashes = {{0, 600},       {160, 700}, {320, kGap},
                                                         {480, kDashes}, {640, 800}, {1640, 700}};

// Every statistic as the cursor graph's readout writes it, Leq also to a millionth of a dB.
std::string Summary(const SpanStatistics& statistics) {
  char leq[32]{};
  if (statistics.leq) {
    std::to_chars(leq, leq + sizeof leq - 1, *statistics.leq, std::chars_format::fixed, 6);
  }
  return SpanStatisticsText(statistics) + "\nLeq " + leq;
}

TEST(HistoryPoll, TakesTheScreensMainLevelTheSubLpAndTheirLabels) {
  struct Case {
    int display_mode;
    TenthsDb main;  // expected
    bool measuring;
  };
  for (const Case& c : {Case{0, 0x0102, true}, Case{1, 0x0304, true}, Case{6, 0x0304, true},
                        Case{8, kNoLevel, false}}) {
    InputReportBuffer reply{};
    reply[4] = static_cast<std::uint8_t>(c.display_mode);
    reply[19] = 0x10;  // main A, sub C
    reply[20] = 0x10;  // main F, sub S
    reply[21] = 1;     // eq
    reply[23] = 0x02, reply[24] = 0x9A;
    reply[133] = 0x01, reply[134] = 0x02;
    reply[153] = 0x03, reply[154] = 0x04;
    const LiveReading reading = DecodeLiveReply(reply);
    const HistoryPoll poll = HistoryPollFromReading(kStart, &reading);
    EXPECT_EQ(poll.measuring, c.measuring) << c.display_mode;
    EXPECT_EQ(poll.main, c.main) << c.display_mode;
    if (c.measuring) {
      EXPECT_EQ(poll.sub, 0x029A);
      EXPECT_EQ(poll.quantity, (HistoryQuantity{c.display_mode, "LAeq", "LCS"}));
    }
  }
  EXPECT_FALSE(HistoryPollFromReading(kStart, nullptr).measuring);
}

// Whole series: 10 log10((1e6 + 1e7 + 1e8 + 1e7) / 4) = 74.807; nearest ranks 1, 2 and 4. From
// 160 to 1000 ms: 70, the gap, "---.-" and 80: 10 log10((1e7 + 1e8) / 2) = 77.404. The sound
// levels cover 0.98 s and 0.66 s.
TEST(HistoryStatistics, SpanWithAGapAndDashesWorkedOutByHand) {
  const LevelHistory history = HistoryOf(kGapAndDashes);
  const auto statistics = [&](std::int64_t from, std::int64_t to, std::size_t channel) {
    return SpanStatisticsTracker().Compute(history, kStart + from, kStart + to)[channel];
  };
  EXPECT_EQ(Summary(statistics(0, 2000, 0).levels),
            "Records 5 (1 without a level)\nLeq 74.8  Lmax 80.0  Lmin 60.0\n"
            "L10 80.0  L50 70.0  L90 60.0\nLeq 74.807254");
  EXPECT_EQ(Summary(statistics(160, 1000, 0).levels),
            "Records 3 (1 without a level)\nLeq 77.4  Lmax 80.0  Lmin 70.0\n"
            "L10 80.0  L50 80.0  L90 70.0\nLeq 77.403627");
  EXPECT_NEAR(statistics(0, 2000, 0).covered_seconds, 0.98, 1e-9);
  EXPECT_NEAR(statistics(160, 1000, 1).covered_seconds, 0.66, 1e-9);
  EXPECT_EQ(Summary(statistics(300, 500, 1).levels),
            "Records 1 (1 without a level)\nLeq ---.-  Lmax ---.-  Lmin ---.-\n"
            "L10 ---.-  L50 ---.-  L90 ---.-\nLeq ");
}

TEST(HistoryStatistics, TalliesAgreeWithTheCursorGraphsSpanStatistics) {
  LevelHistory history(1024);
  RunningStatistics running;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> tenths(-40, 1200);
  std::int64_t offset = 0;
  for (int poll = 0; poll < 1000; ++poll) {
    offset += poll % 97 == 0 ? 3000 : 160;
    const int level = tenths(random);
    history.Append(Poll(offset, level < -20 ? kGap : std::max(level, kDashes)));
    running.Add(history.At(history.Size() - 1), HistoryChannel::kSub);
  }
  std::vector<std::optional<double>> readings;
  for (std::size_t i = 0; i < history.Size(); ++i) {
    if (history.At(i).measuring) {
      const auto level = history.At(i).Level(HistoryChannel::kSub);
      readings.push_back(level ? std::optional<double>(*level / 10.0) : std::nullopt);
    }
  }
  const SpanStatistics reference =
      ComputeSpanStatistics(readings, 1, static_cast<std::int64_t>(readings.size()));
  const HistoryStatistics span =
      SpanStatisticsTracker().Compute(history, kStart, kStart + offset + 1)[1];
  const HistoryStatistics since_opening = running.Current();
  EXPECT_EQ(Summary(span.levels), Summary(reference));
  EXPECT_EQ(Summary(since_opening.levels), Summary(reference));
  EXPECT_NEAR(since_opening.covered_seconds, span.covered_seconds, 1e-9);
}

// A tracker kept from redraw to redraw, following the newest sample of a full ring, panned
// and zoomed, agrees with a count made afresh every time.
TEST(HistoryStatistics, TrackedSpanAgreesWithAFreshCountWhileTheRingTurns) {
  LevelHistory history(256);
  SpanStatisticsTracker tracked;
  std::mt19937 random(11);
  std::int64_t offset = 0;
  for (int poll = 0; poll < 1000; ++poll) {
    offset += random() % 50 == 0 ? 1000 : 160;
    const int level = static_cast<int>(random() % 400) + 400;
    tracked.BeforeAppend(history);
    history.Append(Poll(offset, random() % 20 == 0 ? kGap : (level < 420 ? kDashes : level)));
    std::int64_t to = offset + 1;
    std::int64_t width = 160 * static_cast<std::int64_t>(1 + random() % 300);
    if (random() % 10 == 0) {  // panned back, or zoomed
      to -= 160 * static_cast<std::int64_t>(random() % 200);
      width = 160 * static_cast<std::int64_t>(random() % 400);
    }
    const auto kept = tracked.Compute(history, kStart + to - width, kStart + to);
    const auto fresh = SpanStatisticsTracker().Compute(history, kStart + to - width, kStart + to);
    for (std::size_t channel = 0; channel < 2; ++channel) {
      ASSERT_EQ(Summary(kept[channel].levels), Summary(fresh[channel].levels)) << poll;
      ASSERT_EQ(kept[channel].covered_seconds, fresh[channel].covered_seconds) << poll;
    }
  }
}

TEST(HistorySeries, FewSamplesAreDrawnAsTheyAreAndNeverJoinedAcrossABreak) {
  // 60, 70, gap, 80, "---.-", 90, then 95 after a second without polls.
  const LevelHistory history = HistoryOf(
      {{0, 600}, {160, 700}, {320, kGap}, {480, 800}, {640, kDashes}, {800, 900}, {1800, 950}});
  const HistorySeries series =
      BuildHistorySeries(history, HistoryChannel::kMain, kStart, kStart + 2000, 907);
  std::string levels;
  for (const double level : series.levels) {
    levels += std::isnan(level) ? " break" : " " + std::to_string(std::lround(level * 10));
  }
  EXPECT_EQ(levels, " 600 700 break 800 break 900 break 950");
  EXPECT_DOUBLE_EQ(series.seconds.back(), (kStart + 1800) / 1000.0);
}

TEST(HistorySeries, EnvelopeKeepsEveryMinimumAndMaximumOfTheRawSamples) {
  // A ring that has wrapped, so the span starts inside a block whose summary is gone.
  LevelHistory history(1600);
  std::mt19937 random(11);
  std::uniform_int_distribution<int> tenths(300, 1100);
  for (int poll = 0; poll < 5000; ++poll) {
    const bool absent = poll >= 4000 && poll < 4150;  // an unplug of 24 s
    history.Append(Poll(poll * 160, absent ? kGap : tenths(random)));
  }
  constexpr int kColumns = 16;                // the 1600 samples held
  constexpr std::int64_t kColumnMs = 16'000;  // 100 polls, more than a block
  const std::int64_t from = history.At(0).pc_time_ms;
  const HistorySeries series = BuildHistorySeries(history, HistoryChannel::kMain, from,
                                                  from + kColumns * kColumnMs, kColumns);
  int broken_columns = 0;
  for (int column = 0; column < kColumns; ++column) {
    const std::int64_t begin = from + column * kColumnMs;
    std::optional<double> raw_min, raw_max, drawn_min, drawn_max;
    bool gap = false;
    for (std::size_t i = 0; i < history.Size(); ++i) {
      const HistorySample& sample = history.At(i);
      if (sample.pc_time_ms >= begin && sample.pc_time_ms < begin + kColumnMs) {
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
  EXPECT_EQ(breaks, 2);  // before and after the unplug, nowhere else
}

TEST(LimitExceedances, CountDurationAndLastCrossingOnAMadeUpSeries) {
  // Above 70.0: [72, 75], [71], then after a gap [72, 72 newest]; 70.0 itself is not above.
  const LevelHistory history = HistoryOf({{0, 650},
                                          {160, 720},
                                          {320, 750},
                                          {480, 700},
                                          {640, 710},
                                          {800, kGap},
                                          {960, 720},
                                          {1120, 720}});
  struct Case {
    std::int64_t from, to;
    std::size_t count;
    double seconds;
    std::optional<std::int64_t> last;
  };
  for (const Case& c : {Case{0, 2000, 3, 0.8, kStart + 960}, Case{100, 700, 2, 0.48, kStart + 640},
                        Case{400, 500, 0, 0, std::nullopt}}) {
    const LimitExceedances e =
        FindLimitExceedances(history, HistoryChannel::kMain, kStart + c.from, kStart + c.to, 70.0);
    EXPECT_EQ(e.count, c.count) << c.from;
    EXPECT_NEAR(e.seconds, c.seconds, 1e-9) << c.from;
    EXPECT_EQ(e.last_crossing_ms, c.last) << c.from;
  }
}

TEST(LevelHistory, MarksEachChangeOfWhatIsPlottedAndKeepsTheOneInEffect) {
  LevelHistory history(128);
  const HistoryQuantity slm{0, "LAF", "LCS"};
  const HistoryQuantity octave{1, "LAF", "LCS"};
  const HistoryQuantity leq{1, "LAeq", "LCS"};
  history.Append(Poll(0, kGap));
  history.Append(Poll(160, 600, slm));
  history.Append(Poll(320, kGap));
  history.Append(Poll(480, 600, slm));     // back after a gap: no change
  history.Append(Poll(640, 600, octave));  // display mode
  history.Append(Poll(800, 600, leq));     // item
  ASSERT_EQ(history.Marks().size(), 3U);
  EXPECT_EQ(history.Marks()[1].pc_time_ms, kStart + 640);
  EXPECT_EQ(history.MarkAt(kStart + 700)->quantity, octave);
  EXPECT_EQ(history.MarkAt(kStart), nullptr);
  history.Append(Poll(100, 600, leq));  // the PC clock set back: kept in order
  EXPECT_EQ(history.At(history.Size() - 1).pc_time_ms, kStart + 800);
  for (int poll = 0; poll < 128; ++poll) {
    history.Append(Poll(960 + poll * 160, 600, leq));
  }
  EXPECT_EQ(history.Size(), 128U);
  ASSERT_EQ(history.Marks().size(), 1U);
  EXPECT_EQ(history.Marks()[0].quantity, leq);
}

TEST(HistoryCsv, ExportOfASpanReadsBackRowByRow) {
  LevelHistory history(64);
  history.Append(Poll(0, 935));
  history.Append(Poll(160, kGap));
  history.Append(Poll(320, kDashes));
  history.Append(Poll(480, 1000));
  const std::filesystem::path target =
      std::filesystem::temp_directory_path() / "halvane_history_export_test.csv";
  ASSERT_FALSE(WriteFileAtomically(target, HistoryCsvText(history, kStart, kStart + 480)));
  const std::string text = test::FileText(target);
  std::filesystem::remove(target);
  // kStart is 2023-11-14 22:13:20 UTC.
  EXPECT_EQ(text,
            "PC Time (UTC),Main Item,Main [dB],Sub Item,Sub [dB]\r\n"
            "2023-11-14T22:13:20.000Z,LAF,93.5,LCS,93.5\r\n"
            "2023-11-14T22:13:20.160Z,,,,\r\n"
            "2023-11-14T22:13:20.320Z,LAF,,LCS,\r\n");
}

}  // namespace
}  // namespace halvane
