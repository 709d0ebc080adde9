// The record text file of both writers, checked against files laid out by hand, and read back.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "records/kept_names.h"
#include "records/logger_image.h"
#include "records/record_file_reader.h"
#include "records/sd_set.h"
#include "tests/records/logged_inputs.h"
#include "text/number_text.h"

namespace halvane {
namespace {

using test::FlashHeader;
using test::PositionedText;
using test::SetHeader;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::vector<std::string> Lines(const std::string& file) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < file.size()) {
    const std::size_t end = file.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
    if (end == std::string::npos) {
      break;
    }
    lines.push_back(file.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// Cells of six characters, each followed by TAB.
std::string Cells(std::initializer_list<std::string_view> texts) {
  std::string line;
  for (const std::string_view text : texts) {
    line += std::string(text.size() < 6 ? 6 - text.size() : 0, ' ') + std::string(text) + "\t";
  }
  return line;
}

std::string EmptyCells(int count) {
  std::string line;
  for (int i = 0; i < count; ++i) {
    line += "      \t";
  }
  return line;
}

const std::string kMainHeads =
    Cells({"LP", "Leq", "Le", "Lmax", "Lmin", "L05", "L10", "L50", "L90", "L95"});
const std::string kLabelStart = "-           \t                 \t (Main)\t";
const std::string kHeadStart = "-       No.s\t        Date Time\t";

// An SD set of `records` records whose value c of record r reads 50 + c + r/10.
std::string SdSet(std::size_t header_length, std::size_t record_length, std::size_t values,
                  std::string_view mode_text, std::string_view trigger_text, int records) {
  const auto set_length = static_cast<std::uint32_t>(header_length + records * record_length - 2);
  std::string text = SetHeader(header_length, mode_text, trigger_text, set_length).Text();
  for (int r = 1; r <= records; ++r) {
    PositionedText record(record_length);
    record.Put(1, "10:20:3" + std::to_string(r));
    for (std::size_t c = 1; c <= values; ++c) {
      const std::string value = FixedPointText(50.0 + static_cast<double>(c) + r / 10.0, 1);
      record.Put(10 + (c - 1) * 6 + 5 - value.size(), value);  // right-aligned in 5
    }
    record.Put(record_length - 1, "\r\n");
    text += record.Text();
  }
  return text;
}

std::string Write(const std::string& set_text) {
  return SdRecordFileText(set_text, SetLengthField(set_text));
}

TEST(SdRecordFile, SlmSetGivesTheWholeFileLaidOutByHand) {
  const std::string file = Write(SdSet(824, 131, 20, "SLM             ", "OFF            ", 2));
  const std::string record_1 =
      "           1\t         10:20:31\t" +
      Cells({"51.1", "52.1", "53.1", "54.1", "55.1", "56.1", "57.1", "58.1", "59.1", "60.1"}) +
      Cells({"61.1", "62.1", "63.1", "64.1", "65.1", "66.1", "67.1", "68.1", "69.1", "70.1"});
  const std::string record_2 =
      "           2\t         10:20:32\t" +
      Cells({"51.2", "52.2", "53.2", "54.2", "55.2", "56.2", "57.2", "58.2", "59.2", "60.2"}) +
      Cells({"61.2", "62.2", "63.2", "64.2", "65.2", "66.2", "67.2", "68.2", "69.2", "70.2"});
  EXPECT_THAT(
      Lines(file),
      ElementsAre("Start Time : 2013/08/09 10:20:30", "Integrated Time : 00:00:01",
                  "Period : 00:10:00", "Frequency Weight : A", "Time Weight : F",
                  "Sub Frequency Weight : C", "Sub Time Weight : S", "Mode : SLM",
                  "Range : 40 - 130", "Records : 2", "Trigger Mode : OFF            ", "", "",
                  kLabelStart + EmptyCells(9) + " (Sub)", kHeadStart + kMainHeads + kMainHeads,
                  std::string(198, '-'), record_1, record_2));
}

TEST(SdRecordFile, BandModesLayTheirHeadsAndValuesInColumnOrder) {
  struct Case {
    std::size_t header_length, record_length, values;
    std::string mode_text, mode_line, label_line, band_heads;
    std::size_t dashes;
  };
  const std::string octave_heads =
      Cells({"Hz16", "31.5", "63", "125", "250", "500", "1k", "2k", "4k", "8k", "16k"});
  const std::string third_heads =
      Cells({"16",   "20",    "25",  "31.5", "40",   "50",  "63",  "80",    "100",   "125",  "160",
             "200",  "250",   "315", "400",  "500",  "630", "800", "1k",    "1.25k", "1.6k", "2k",
             "2.5k", "3.15k", "4k",  "5k",   "6.3k", "8k",  "10k", "12.5k", "16k",   "20k"});
  const std::vector<Case> cases{
      {978, 197, 31, "1/1 Octave      ", "Mode : 1/1 OCTAVE",
       kLabelStart + EmptyCells(20) + " (Sub)\t" + EmptyCells(9), octave_heads, 286},
      {1286, 329, 53, "1/3 Octave      ", "Mode : 1/3 OCTAVE",
       kLabelStart + EmptyCells(42) + " (Sub)\t" + EmptyCells(9), Cells({"Hz12.5"}) + third_heads,
       462},
      // The combined mode's text also holds "1/3 Octave"; it is still the combined mode.
      {1440, 395, 64, "1/1 & 1/3 Octave", "Mode : 1/1 & 1/3 OCTAVE",
       kLabelStart + EmptyCells(9) + "1/1OCT\t" + EmptyCells(10) + "1/3OCT\t" + EmptyCells(32) +
           " (Sub)\t" + EmptyCells(9),
       Cells({"16", "31.5", "63", "125", "250", "500", "1k", "2k", "4k", "8k", "16k", "12.5"}) +
           third_heads,
       550},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode_line);
    const auto lines = Lines(Write(
        SdSet(c.header_length, c.record_length, c.values, c.mode_text, "EXT Trigger    ", 1)));
    ASSERT_EQ(lines.size(), 17U);
    EXPECT_EQ(lines[7], c.mode_line);
    EXPECT_EQ(lines[13], c.label_line);
    // The combined heads carry no unit: the first octave head is four blanks and "16".
    EXPECT_EQ(lines[14], kHeadStart + kMainHeads + c.band_heads + kMainHeads);
    EXPECT_EQ(lines[15], std::string(c.dashes, '-'));
    // Main values 1-10, then the bands (value numbers 21 on), then the sub values 11-20.
    std::string record = "           1\t         10:20:31\t";
    for (std::size_t number = 1; number <= 10; ++number) {
      record += Cells({std::to_string(50 + number) + ".1"});
    }
    for (std::size_t number = 21; number <= c.values; ++number) {
      record += Cells({std::to_string(50 + number) + ".1"});
    }
    for (std::size_t number = 11; number <= 20; ++number) {
      record += Cells({std::to_string(50 + number) + ".1"});
    }
    EXPECT_EQ(lines[16], record);
  }
}

TEST(SdRecordFile, TriggerKindsAndTheLinesTheyWrite) {
  struct Case {
    std::string trigger_text, line_12, line_13;
  };
  // "OFF" is in the file laid out by hand.
  const std::vector<Case> cases{
      {"EXT Trigger    ", "", ""},
      {"Time Trigger   ", "Trigger Time :  85.0 dB", ""},
      // Spelled so in every file the meter's program ever wrote.
      {"Level Trigger  ", "TriggerBand : 1kHz    ", "TriggerLevle :  85.0 dB"},
  };
  for (const Case& c : cases) {
    const auto lines = Lines(Write(SdSet(824, 131, 20, "SLM", c.trigger_text, 1)));
    ASSERT_GE(lines.size(), 13U);
    EXPECT_EQ(lines[10], "Trigger Mode : " + c.trigger_text);
    EXPECT_EQ(lines[11], c.line_12);
    EXPECT_EQ(lines[12], c.line_13);
  }
}

TEST(SdRecordFile, OddSetsGiveWhatTheTextHoldsAndNeverReadPastIt) {
  // A mode text that names no mode: the first seven lines only.
  EXPECT_EQ(Lines(Write(SdSet(824, 131, 20, "Unknown", "OFF", 1))).size(), 7U);
  // An interval set, and a range field of two blanks and 0.
  std::string interval = SdSet(824, 131, 20, "SLM", "OFF", 1);
  interval[266] = 'v';
  interval.replace(216, 3, "  0");
  const auto lines = Lines(Write(interval));
  EXPECT_EQ(lines[1], "Interval Time : 00:00:01");
  EXPECT_EQ(lines[8], "Range : 0 - 130");
  // A set shorter than its header, and lengths that claim more than the text holds.
  for (const std::uint32_t claimed : {0U, 10U, 824U + 131U * 1000U, 0xFFFFFFFFU}) {
    const std::string text = SdSet(824, 131, 20, "SLM", "OFF", 1).substr(0, 300);
    const std::string file = SdRecordFileText(text, claimed);
    EXPECT_THAT(file, HasSubstr("Mode : SLM"));
  }
  EXPECT_THAT(SdRecordFileText("", 0), StartsWith("Start Time :  \r\n"));
}

TEST(SdRecordFile, RecordNumbersAreRightAlignedInTwelveCharacters) {
  const auto lines = Lines(Write(SdSet(824, 131, 20, "SLM", "OFF", 1000)));
  ASSERT_EQ(lines.size(), 1016U);
  EXPECT_EQ(lines[9], "Records : 1000");
  EXPECT_THAT(lines[16], StartsWith("           1\t"));
  EXPECT_THAT(lines[1015], StartsWith("        1000\t"));
}

std::vector<std::uint8_t> FlashRecord(const FlashHeader& header, std::size_t value_count,
                                      bool stamped) {
  std::vector<std::uint8_t> bytes = header.Bytes();
  for (std::uint32_t r = 1; r <= header.samples; ++r) {
    if (stamped) {
      bytes.insert(bytes.end(),
                   {0x13, 0x08, 0x09, 0x23, 0x59, static_cast<std::uint8_t>(0x57 + r)});
    }
    for (std::size_t c = 1; c <= value_count; ++c) {
      const auto tenths = static_cast<unsigned>(500 + 10 * c + r);
      bytes.push_back(static_cast<std::uint8_t>(tenths >> 8));
      bytes.push_back(static_cast<std::uint8_t>(tenths & 0xFF));
    }
  }
  return bytes;
}

std::string FlashFile(const std::vector<std::uint8_t>& image) {
  const LoggerRecordTable table = WalkLoggerImage(image, static_cast<std::uint32_t>(image.size()));
  EXPECT_EQ(table.size(), 1U);
  return table.empty() ? std::string() : FlashRecordFileText(image, table.front());
}

TEST(FlashRecordFile, SlmRecordGivesTheWholeFileLaidOutByHand) {
  FlashHeader header;
  header.flags = 0x02;  // sampled at an interval of one minute, from 23:59:30
  const std::string file = FlashFile(FlashRecord(header, 20, false));
  auto values = [](int r) {
    std::string cells;
    for (int c = 1; c <= 20; ++c) {
      cells += Cells({std::to_string(50 + c) + "." + std::to_string(r)});
    }
    return cells;
  };
  EXPECT_THAT(
      Lines(file),
      ElementsAre("Start Time : 2013/08/09 23:59:30", "Interval : 00:01:00", "Period : 01:30:00",
                  "Frequency Weight : A", "Time Weight : S", "Sub Frequency Weight : Z",
                  "Sub Time Weight : I", "Mode : SLM", "Range : 40 - 130", "Records : 2",
                  "Trigger Mode : Off", "", "", kLabelStart + EmptyCells(9) + " (Sub)",
                  kHeadStart + kMainHeads + kMainHeads, std::string(198, '-'),
                  // The time of day only, one step after the start: past midnight.
                  "           1\t         00:00:30\t" + values(1),
                  "           2\t         00:01:30\t" + values(2)));
}

TEST(FlashRecordFile, TriggerModesEdgeBandsAndTimeStamps) {
  FlashHeader header;
  header.samples = 1;
  header.mode = 2;  // 1/3 OCTAVE
  header.range_top = 110;
  header.trigger_mode = 2;  // level trigger 2: samples carry their time stamps
  const auto stamped = Lines(FlashFile(FlashRecord(header, 53, true)));
  ASSERT_EQ(stamped.size(), 17U);
  EXPECT_EQ(stamped[1], "Integrated Time : 00:01:00");
  EXPECT_EQ(stamped[2], "Period : ");
  EXPECT_EQ(stamped[8], "Range : 20 - 110");
  EXPECT_EQ(stamped[10], "Trigger Mode : Trigger Level2");
  EXPECT_EQ(stamped[11], "TriggerBand : 1k Hz");
  EXPECT_EQ(stamped[12], "TriggerLevel : 85 dB");
  // 12.5, 16 and 20 Hz and 12.5k, 16k and 20k are not shown.
  std::string record = "           1\t2013/08/09 23:59:58\t";
  for (int c = 1; c <= 53; ++c) {
    const bool edge = (c >= 11 && c <= 13) || (c >= 41 && c <= 43);
    record += Cells({edge ? "---.-" : std::to_string(50 + c) + ".1"});
  }
  EXPECT_EQ(stamped[16], record);

  struct Case {
    std::uint8_t trigger_mode, band;
    std::string line_11, line_12, line_13;
  };
  // Off is in the file laid out by hand, an octave band code in the stamped record above.
  const std::vector<Case> cases{
      {1, 44, "Trigger Mode : Trigger Level1", "TriggerBand : AP", "TriggerLevel : 85 dB"},
      {1, 11, "Trigger Mode : Trigger Level1", "TriggerBand : 12.5 Hz", "TriggerLevel : 85 dB"},
      // A band code beyond the table names no band.
      {1, 45, "Trigger Mode : Trigger Level1", "TriggerBand :  Hz", "TriggerLevel : 85 dB"},
      {3, 6, "Trigger Mode : External", "", ""},
      {4, 6, "Trigger Mode : Time", "Trigger Time : 12:00:05", ""},
      // An unknown trigger mode has no text and no trigger lines.
      {9, 6, "Trigger Mode : ", "", ""},
  };
  for (const Case& c : cases) {
    header.mode = 1;
    header.trigger_mode = c.trigger_mode;
    header.trigger_band = c.band;
    const auto lines = Lines(FlashFile(FlashRecord(header, 31, false)));
    ASSERT_EQ(lines.size(), 17U);
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 10, lines.begin() + 13),
                ElementsAre(c.line_11, c.line_12, c.line_13));
    // 16 Hz and 16 kHz are columns 11 and 21.
    EXPECT_THAT(lines[16], HasSubstr("\t  60.1\t ---.-\t  62.1\t"));
    EXPECT_THAT(lines[16], HasSubstr("\t  70.1\t ---.-\t  72.1\t"));
  }
}

TEST(FlashRecordFile, UnknownModeCodeEndsAfterLineThirteen) {
  FlashHeader header;
  header.mode = 7;
  const auto lines = Lines(FlashFile(FlashRecord(header, 0, false)));
  ASSERT_EQ(lines.size(), 13U);
  EXPECT_EQ(lines[7], "Mode : ");
}

// Every file either writer makes reads back with the header values it was written from.
TEST(KeptNames, SayWhatWasDownloadedItsNumberAndItsStartAsTheScanSummaryDoes) {
  const std::string set = SdSet(824, 131, 20, "SLM             ", "OFF            ", 1);
  EXPECT_EQ(KeptSetName(2, set, SetLengthField(set)), "set-002-20130809-102030.txt");
  // What a scan tells of a set from its first page alone.
  EXPECT_EQ(SdSetSummary(2, SdSetOfFirstPage(5, set.substr(0, kPageBytes))),
            "Set 2: started 2013/08/09 10:20:30, LAF, 953 bytes");
  const std::vector<std::uint8_t> image = FlashRecord(FlashHeader{}, 20, false);
  const LoggerRecordTable table = WalkLoggerImage(image, static_cast<std::uint32_t>(image.size()));
  ASSERT_EQ(table.size(), 1U);
  EXPECT_EQ(KeptRecordName(7, table[0]), "record-007-20130809-235930.txt");
}

TEST(RecordFileReader, ReadsBackWhatBothWritersWrite) {
  struct Case {
    std::string file, mode, start, time;
    double bottom;
    std::size_t records, fields;
  };
  FlashHeader header;
  header.samples = 3;
  header.mode = 3;
  header.range_top = 255;  // a three-digit bottom
  std::vector<Case> cases{
      {Write(SdSet(1286, 329, 53, "1/3 Octave", "OFF", 4)), "1/3 OCTAVE", "2013/08/09 10:20:30",
       "00:00:01", 40, 4, 55},
      {FlashFile(FlashRecord(header, 64, false)), "1/1 & 1/3 OCTAVE", "2013/08/09 23:59:30",
       "00:01:00", 165, 3, 66},
  };
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
}  // namespace halvane
