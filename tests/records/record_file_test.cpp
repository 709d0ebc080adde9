// The record text file of both writers, for each mode and trigger and for odd inputs, compared
// whole with files laid out by hand, and read back.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "records/kept_names.h"
#include "records/record_file_reader.h"
#include "tests/records/record_inputs.h"

namespace halvane::test {
namespace {

using ::testing::StartsWith;

TEST(RecordFile, EachModeAndTriggerGivesTheFileLaidOutByHand) {
  for (const std::string name :
       {"slm_off", "octave_ext", "third_ext", "both_ext", "slm_time", "slm_level"}) {
    ExpectDataFile(SdFile(DataText("records/" + name + ".set")), "records/" + name + ".txt");
  }
  for (const std::string name : {"slm_interval", "third_stamped", "both_range255"}) {
    ExpectDataFile(FlashFile(FlashInput(name + ".flash")), "records/" + name + ".txt");
  }
  // The trigger modes and bands of a flash record: a band code beyond the table names no band,
  // an unknown mode has no text and no trigger lines.
  std::string triggers;
  for (const auto& [mode, band] : {std::pair{1, 44}, {1, 11}, {1, 45}, {3, 6}, {4, 6}, {9, 6}}) {
    Bytes image = FlashInput("octave_level1.flash");
    image[33] = static_cast<std::uint8_t>(mode);
    image[34] = static_cast<std::uint8_t>(band);
    triggers += FlashFile(image);
  }
  ExpectDataFile(triggers, "records/octave_triggers.txt");
}

// Sets whose mode text names no mode, with an interval and a range field of blanks and 0, cut
// short of their header with lengths that claim more, or empty; a flash mode code unknown.
TEST(RecordFile, OddInputsGiveWhatTheyHoldAndNeverReadPastIt) {
  const std::string set = DataText("records/slm_off.set");
  std::string unknown_mode = set, interval = set;
  unknown_mode.replace(243, 16, "Unknown         ");
  interval[266] = 'v';
  interval.replace(216, 3, "  0");
  std::string files = SdFile(unknown_mode) + SdFile(interval);
  for (const std::uint32_t claimed : {0U, 10U, 824U + 131U * 1000U, 0xFFFFFFFFU}) {
    files += SdRecordFileText(set.substr(0, 300), claimed);
  }
  files += SdRecordFileText("", 0);
  Bytes unknown_code = FlashInput("slm_interval.flash");
  unknown_code[11] = 7;
  ExpectDataFile(files + FlashFile(unknown_code), "records/odd_inputs.txt");
}

TEST(RecordFile, RecordNumbersAreRightAlignedInTwelveCharacters) {
  const std::string set = DataText("records/slm_off.set");
  std::string thousand = set.substr(0, 824);
  for (int record = 0; record < 1000; ++record) {
    thousand += set.substr(824, 131);
  }
  const auto lines = TextLines(SdRecordFileText(thousand, 824 + 131 * 1000 - 2));
  ASSERT_EQ(lines.size(), 1016U);
  EXPECT_EQ(lines[9], "Records : 1000\r");
  EXPECT_THAT(lines[16], StartsWith("           1\t"));
  EXPECT_THAT(lines[1015], StartsWith("        1000\t"));
}

// Every file either writer makes reads back with the header values it was written from.
TEST(KeptNames, SayWhatWasDownloadedItsNumberAndItsStartAsTheScanSummaryDoes) {
  const std::string set = DataText("records/slm_off.set");
  EXPECT_EQ(KeptSetName(2, set, SetLengthField(set)), "set-002-20130809-102030.txt");
  // What a scan tells of a set from its first page alone.
  EXPECT_EQ(SdSetSummary(2, SdSetOfFirstPage(5, set.substr(0, kPageBytes))),
            "Set 2: started 2013/08/09 10:20:30, LAF, 1084 bytes");
  const Bytes image = FlashInput("slm_interval.flash");
  EXPECT_EQ(
      KeptRecordName(7, WalkLoggerImage(image, static_cast<std::uint32_t>(image.size())).at(0)),
      "record-007-20130809-235930.txt");
}

TEST(RecordFileReader, ReadsBackWhatBothWritersWrite) {
  struct Case {
    std::string file, mode, start, time;
    double bottom;
    std::size_t records, fields;
  };
  std::vector<Case> cases{{SdFile(DataText("records/third_ext.set")), "1/3 OCTAVE",
                           "2013/08/09 10:20:30", "00:00:01", 40, 1, 55},
                          {FlashFile(FlashInput("both_range255.flash")), "1/1 & 1/3 OCTAVE",
                           "2013/08/09 23:59:30", "00:01:00", 165, 3, 66}};
  // Also as an editor may save them: with CR-only line ends, and as UTF-8 with a byte-order mark.
  for (const std::size_t written : {0, 1}) {
    Case resaved = cases[written];
    std::erase(resaved.file, '\n');
    cases.push_back(resaved);
    resaved.file = "\xEF\xBB\xBF" + resaved.file;
    cases.push_back(resaved);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    std::istringstream in(c.file);
    RecordFileReader reader(in);
    ASSERT_TRUE(reader.Header());
    const RecordFileInfo& info = *reader.Header();
    EXPECT_EQ(info.RecordMode, c.mode);
    EXPECT_EQ(info.start_time, c.start);
    EXPECT_EQ(info.time, c.time);
    EXPECT_EQ(info.RecordRangeBottom, c.bottom);
    EXPECT_EQ(info.RecordRangeTop, c.bottom + 90);
    EXPECT_EQ(info.RecordCount, c.records);
    std::vector<std::string_view> fields;
    std::size_t records = 0;
    while (reader.NextRecord(fields)) {
      ++records;
      EXPECT_EQ(fields.size(), c.fields);
      EXPECT_EQ(fields[0], std::string(11, ' ') + std::to_string(records));
    }
    EXPECT_EQ(records, c.records);
  }
  for (const std::string text :
       {"", "Start Time : x\r\n", "not\na\nrecord\nfile\n\n\n\n\n\n\n\n"}) {
    std::istringstream in(text);
    EXPECT_FALSE(RecordFileReader(in).Header()) << text;
  }
}

}  // namespace
}  // namespace halvane::test
