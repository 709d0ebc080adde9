// What the bar graph draws of a record of each mode, written out whole; the band cursor; the
// record reader on odd files; and the statistics of a span of records at its edges.

#include <gtest/gtest.h>

#include <sstream>

#include "graphs/bar_graph.h"
#include "graphs/record_times.h"
#include "graphs/span_statistics.h"
#include "live/meter.h"
#include "tests/file_text.h"
#include "tests/graphs/record_files.h"
#include "tests/live/display_list.h"

namespace halvane {
namespace {

// Level column c reads 40 + c dB, so that every bar stands in the 40 to 130 range.
std::string RisingLevel(std::size_t, std::size_t column) {
  return std::to_string(40 + column) + ".0";
}

// A band that is not a number: no bar, but its text is shown.
std::string DashedLevel(std::size_t, std::size_t column) {
  return column == 11 ? std::string("---.-") : RisingLevel(0, column);
}

// The first record of a file of `mode` as the bar graph draws it.
std::string Drawn(RecordMode mode, int cursor, const test::LevelText& level,
                  std::string range_top) {
  std::istringstream in(test::RecordFile(mode, 1, 1, level, std::move(range_top)));
  const RecordFileInfo info = *RecordFileReader(in).Header();
  in.clear();
  in.seekg(0);
  const auto fields = ReadRecordFields(in, 1);
  Canvas canvas(kBarGraphWidthUnits, kBarGraphHeightUnits);
  DrawBarGraph(canvas, info, fields ? &*fields : nullptr, cursor);
  return test::DisplayListText(canvas);
}

// Bars, band cursor, readouts and both channels' statistics of each mode; an SLM record has no
// bands to mark, a cursor beyond the mode's last band marks nothing, and a range whose top does
// not exceed its bottom draws the frame and texts but no bars.
TEST(BarGraph, EachModeDrawsItsBarsCursorReadoutsAndStatistics) {
  using Level = std::string (*)(std::size_t, std::size_t);
  std::string drawn;
  for (const auto& [name, mode, cursor, level, range_top] :
       {std::tuple<const char*, RecordMode, int, Level, const char*>{
            "1/1 octave, cursor on 125 Hz", RecordMode::Octave, 3, RisingLevel, "130"},
        {"1/3 octave, cursor on 31.5 Hz", RecordMode::ThirdOctave, 4, RisingLevel, "130"},
        {"1/1 & 1/3 octave, cursor on 31.5 Hz", RecordMode::OctaveAndThirdOctave, 4, RisingLevel,
         "130"},
        {"SLM", RecordMode::Slm, 0, RisingLevel, "130"},
        {"1/1 octave, cursor beyond the last band", RecordMode::Octave, 20, RisingLevel, "130"},
        {"1/1 octave, 16 Hz not a number", RecordMode::Octave, 0, DashedLevel, "130"},
        {"1/1 octave, empty range", RecordMode::Octave, 0, RisingLevel, "40"}}) {
    drawn += std::string("# ") + name + "\n" + Drawn(mode, cursor, level, range_top);
  }
  test::ExpectDataFile(drawn, "graphs/bar_graphs.txt");
}

TEST(BarGraph, CursorWrapsAndTheReaderTakesTheRecordAsked) {
  EXPECT_EQ(MoveBandCursor(0, -1, "1/3 OCTAVE"), 32);
  EXPECT_EQ(MoveBandCursor(0, -1, "1/1 & 1/3 OCTAVE"), 32);
  EXPECT_EQ(MoveBandCursor(32, 1, "1/3 OCTAVE"), 0);
  EXPECT_EQ(MoveBandCursor(5, 1, "1/3 OCTAVE"), 6);
  EXPECT_EQ(MoveBandCursor(10, 1, "1/1 OCTAVE"), 0);
  // A click finds the band whose bar it hits; a gap between slots or the frame finds none.
  EXPECT_EQ(BandAt(175, "1/1 OCTAVE"), 3);
  EXPECT_EQ(BandAt(95, "1/1 & 1/3 OCTAVE"), 4);
  EXPECT_EQ(BandAt(469, "1/3 OCTAVE"), 32);
  EXPECT_EQ(BandAt(195, "1/3 OCTAVE"), std::nullopt);
  EXPECT_EQ(BandAt(30, "1/1 OCTAVE"), std::nullopt);

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
