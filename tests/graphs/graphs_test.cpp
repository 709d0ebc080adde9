// What the bar graph draws of a record of each mode, the band cursor, the record reader on odd
// files, and the statistics of a span of records at its edges.

#include <gtest/gtest.h>

#include <sstream>

#include "graphs/bar_graph.h"
#include "graphs/record_times.h"
#include "graphs/span_statistics.h"
#include "live/meter.h"
#include "tests/graphs/record_files.h"
#include "tests/live/display_list.h"

namespace halvane {
namespace {

using testing::ExpectTexts;
using testing::HasLine;
using testing::ItemsOf;

// Level column c reads 40 + c dB, so that every bar stands in the 40 to 130 range.
std::string RisingLevel(std::size_t, std::size_t column) {
  return std::to_string(40 + column) + ".0";
}

struct Drawn {
  Canvas canvas{kBarGraphWidthUnits, kBarGraphHeightUnits};
  std::size_t Bars(int colour) {
    return ItemsOf<BoxItem>(canvas,
                            [colour](const BoxItem& box) {
                              return box.fill == ConsoleColor(colour) && box.corner1.x >= 40;
                            })
        .size();
  }
  bool HasCursorAt(double x) {
    return !ItemsOf<LineItem>(canvas, [x](const LineItem& line) {
              return line.from == Point{x, 18} && line.to == Point{x, 90} &&
                     line.pen.color == Color{255, 0, 0};
            }).empty();
  }
};

Drawn Draw(RecordMode mode, int cursor, const test::LevelText& level = RisingLevel,
           std::string range_top = "130") {
  std::istringstream in(test::RecordFile(mode, 1, 1, level, std::move(range_top)));
  const RecordFileInfo info = *RecordFileReader(in).Header();
  in.clear();
  in.seekg(0);
  const auto fields = ReadRecordFields(in, 1);
  Drawn drawn;
  DrawBarGraph(drawn.canvas, info, fields ? &*fields : nullptr, cursor);
  return drawn;
}

TEST(BarGraph, EachModeDrawsItsBarsCursorReadoutsAndStatistics) {
  Drawn octave = Draw(RecordMode::Octave, 3);
  EXPECT_EQ(octave.Bars(9), 11U + 1);  // the octaves and the main overall level
  EXPECT_EQ(octave.Bars(0), 1U);       // the sub overall level
  EXPECT_TRUE(octave.HasCursorAt(175));
  ExpectTexts(octave.canvas, {{{30, 10}, "1/1 OCTAVE   125 Hz   54.0 dB"},
                              {{30, 105}, "Main LAF      41.0 dB"},
                              {{30, 115}, "LAeq     42.0 dB"},
                              {{30, 120}, "LAE      43.0 dB"},
                              {{30, 155}, "LAF95    50.0 dB"},
                              {{330, 105}, "Sub LCS      62.0 dB"},
                              {{330, 125}, "LCSmax   65.0 dB"}});
  // The window's own frame: axes at 90.6, no "dB" over the scale, every text fixed-pitch.
  EXPECT_TRUE(HasLine(octave.canvas, {29, 18}, {29, 90.6}));
  EXPECT_TRUE(HasLine(octave.canvas, {29, 90.6}, {554, 90.6}));
  EXPECT_TRUE(testing::Texts(octave.canvas, "dB").empty());
  EXPECT_TRUE(ItemsOf<TextItem>(octave.canvas, [](const TextItem& text) {
                return !text.font.fixed_pitch;
              }).empty());

  Drawn third = Draw(RecordMode::ThirdOctave, 4);
  EXPECT_EQ(third.Bars(11), 11U);  // the octave centre thirds
  EXPECT_EQ(third.Bars(10), 22U);
  EXPECT_TRUE(third.HasCursorAt(95));
  ExpectTexts(third.canvas,
              {{{30, 10}, "1/3 OCTAVE  31.5 Hz   55.0 dB"}, {{330, 105}, "Sub LCS      84.0 dB"}});

  Drawn combined = Draw(RecordMode::OctaveAndThirdOctave, 4);
  EXPECT_EQ(combined.Bars(15), 11U);  // white octaves behind their thirds
  EXPECT_EQ(combined.Bars(11) + combined.Bars(10), 33U);
  EXPECT_TRUE(combined.HasCursorAt(95));
  ExpectTexts(combined.canvas, {{{30, 10}, "1/1 OCTAVE  31.5 Hz   52.0 dB"},
                                {{330, 10}, "1/3 OCTAVE  31.5 Hz   66.0 dB"},
                                {{330, 105}, "Sub LCS      95.0 dB"}});

  // An SLM record shows no levels: no overall bars, the statistics' labels alone.
  Drawn slm = Draw(RecordMode::Slm, 0);
  EXPECT_EQ(slm.Bars(9) + slm.Bars(0), 0U);
  EXPECT_TRUE(ItemsOf<LineItem>(slm.canvas, [](const LineItem& line) {
                return line.pen.color == Color{255, 0, 0};
              }).empty());
  ExpectTexts(slm.canvas, {{{30, 105}, "Main LAF           dB"},
                           {{30, 115}, "LAeq          dB"},
                           {{330, 105}, "Sub LCS           dB"}});
}

TEST(BarGraph, CursorWrapsAndOddRecordsDrawWhatTheyCan) {
  EXPECT_EQ(MoveBandCursor(0, -1, "1/3 OCTAVE"), 32);
  EXPECT_EQ(MoveBandCursor(0, -1, "1/1 & 1/3 OCTAVE"), 32);
  EXPECT_EQ(MoveBandCursor(32, 1, "1/3 OCTAVE"), 0);
  EXPECT_EQ(MoveBandCursor(5, 1, "1/3 OCTAVE"), 6);
  // A click finds the band whose bar it hits; a gap between slots or the frame finds none.
  EXPECT_EQ(BandAt(175, "1/1 OCTAVE"), 3);
  EXPECT_EQ(BandAt(95, "1/1 & 1/3 OCTAVE"), 4);
  EXPECT_EQ(BandAt(469, "1/3 OCTAVE"), 32);
  EXPECT_EQ(BandAt(195, "1/3 OCTAVE"), std::nullopt);
  EXPECT_EQ(BandAt(30, "1/1 OCTAVE"), std::nullopt);

  // A cursor left beyond the mode's last band marks nothing.
  Drawn beyond = Draw(RecordMode::Octave, 20);
  EXPECT_TRUE(ItemsOf<TextItem>(beyond.canvas, [](const TextItem& text) {
                return text.at == Point{30, 10};
              }).empty());

  // A band that is not a number draws no bar but its text is shown.
  Drawn dashed = Draw(RecordMode::Octave, 0, [](std::size_t, std::size_t column) {
    return column == 11 ? std::string("---.-") : RisingLevel(0, column);
  });
  EXPECT_EQ(dashed.Bars(9), 11U);
  ExpectTexts(dashed.canvas, {{{30, 10}, "1/1 OCTAVE    16 Hz  ---.- dB"}});

  // A range whose top does not exceed its bottom: the frame and texts, no bars.
  Drawn empty_range = Draw(RecordMode::Octave, 0, RisingLevel, "40");
  EXPECT_EQ(empty_range.Bars(9) + empty_range.Bars(0), 0U);
  EXPECT_TRUE(testing::AllCoordinatesFinite(empty_range.canvas));
  EXPECT_TRUE(HasLine(empty_range.canvas, {30, 90}, {555, 90}));

  const std::string file = test::RecordFile(RecordMode::Octave, 3, 3);
  const auto read = [&file](std::int64_t record) {
    std::istringstream in(file);
    return ReadRecordFields(in, record);
  };
  EXPECT_EQ(read(1)->at(0), "           1");
  EXPECT_EQ(read(3)->size(), 2U + 31);
  EXPECT_EQ(read(0)->at(0).find_first_not_of('-'), std::string::npos);  // the dash rule
  EXPECT_FALSE(read(4).has_value());
}

std::vector<std::string> TextsOf(const std::vector<RecordTime>& times) {
  std::vector<std::string> texts;
  std::ranges::transform(times, std::back_inserter(texts), &RecordTime::text);
  return texts;
}

// A time of day alone takes the start's date, a day later each time it runs back; a date stamp
// sets the day itself; cells that are neither stand as they are.
TEST(RecordDateTimes, TimesOfDayTakeTheStartsDateAndStampsTheirOwn) {
  const std::vector<std::string> cells{
      "         00:00:30", "         23:00:00", "2014/01/02 03:04:05",
      "         03:04:04", " ---.- ",           "2013/13/40 10:00:00"};
  const std::vector<RecordTime> times = RecordDateTimes("2013/08/09 23:59:30", cells);
  EXPECT_EQ(TextsOf(times), (std::vector<std::string>{"2013-08-10T00:00:30", "2013-08-10T23:00:00",
                                                      "2014-01-02T03:04:05", "2014-01-03T03:04:04",
                                                      "---.-", "2013/13/40 10:00:00"}));
  EXPECT_EQ(*times[3].seconds - *times[0].seconds, 146 * 86400 + 3 * 3600 + 3 * 60 + 34);
  EXPECT_FALSE(times[4].seconds.has_value());
  EXPECT_EQ(TextsOf(RecordDateTimes("", std::vector<std::string>{"  10:00:00"})),
            std::vector<std::string>{"10:00:00"});
  EXPECT_EQ(DurationText(4), "0:00:04");
  EXPECT_EQ(DurationText(-(2 * 86400 + 3600)), "-2 d 1:00:00");
}

// The cursor graph test reads the text of a span of 50, 60, a gap, 70 and 40 worked out by
// hand. Cursors in either order and beyond the records are held to them; a span without a
// number has no levels; records of an Lmax item have no energy mean and no L_N.
TEST(SpanStatistics, CursorsAreHeldToTheRecordsAndOnlySoundLevelsHaveAnLeq) {
  const std::vector<std::optional<double>> levels{50, 60, std::nullopt, 70, 40};
  EXPECT_EQ(ComputeSpanStatistics(levels, 99, -7, true).records, 5U);
  const SpanStatistics gap = ComputeSpanStatistics(levels, 3, 3, true);
  EXPECT_EQ(gap.records, 1U);
  EXPECT_EQ(gap.left_out, 1U);
  EXPECT_FALSE(gap.levels.lmax.has_value());
  EXPECT_EQ(ComputeSpanStatistics({}, 1, 10, true).records, 0U);
  EXPECT_EQ(SpanStatisticsText(ComputeSpanStatistics(levels, 1, 5, EnergyMeanApplies("Lmax(Sub)"))),
            "Records 5 (1 without a level)\nLmax 70.0  Lmin 40.0");
  for (const char* item : {"LP(Main)", "Leq(Sub)", "1/3 OCT 1k Hz"}) {
    EXPECT_TRUE(EnergyMeanApplies(item)) << item;
  }
  EXPECT_FALSE(EnergyMeanApplies("Le(Main)") || EnergyMeanApplies("L95(Sub)"));
}

}  // namespace
}  // namespace halvane
