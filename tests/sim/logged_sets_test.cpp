#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "sim/flash_record.h"
#include "sim/sample_logger_contents.h"
#include "sim/sd_set_text.h"

namespace halvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Characters `position` (from 1) to `position` + `length` - 1.
std::string At(const std::string& text, std::size_t position, std::size_t length) {
  return text.substr(position - 1, length);
}

int Pair(const Bytes& bytes, std::size_t offset) {
  return bytes[offset] * 256 + bytes[offset + 1];
}

TEST(SdSetText, HeaderFieldsRecordTimesAndValuesStandWhereTheMeterPutsThem) {
  const SdSetDescription description{.mode = LoggedMode::OctaveAndThirdOctave,
                                     .integrated = true,
                                     .time = "00:00:05",
                                     .period = "00:15:00",
                                     .start_date = "2014/01/02",
                                     .start_time = "23:59:58",
                                     .weightings = {'C', 'I', 'Z', 't'},
                                     .range_bottom = 0,
                                     .range_top = 100,
                                     .trigger = SdTrigger::Level,
                                     .trigger_level = "90 dB",
                                     .trigger_band = "500 Hz",
                                     .records = 3,
                                     .seed = 7};
  const std::string text = ComposeSdSetText(description);
  // Header 824 + 14 x 44, records 9 + 6 x 64 + 2.
  ASSERT_EQ(text.size(), 1440u + 3 * 395);
  EXPECT_EQ(At(text, 1, 4), std::string("\x00\x00\x0A\x3F", 4));  // 2623 = 2625 - 2
  for (const auto& [position, expected] : std::vector<std::pair<std::size_t, std::string>>{
           {66, "2014/01/02"},
           {77, "23:59:58"},
           {107, "C"},
           {130, "I"},
           {152, "Z"},
           {174, "t"},
           {217, "  0"},
           {224, "100"},
           {244, "1/1 & 1/3 Octave"},
           {267, "g"},
           {280, "00:00:05"},
           {307, "00:15:00"},
           {334, "Level          "},
           {368, "90 dB   "},
           {394, "500 Hz  "},
           // Records: the time text (start plus r steps) and the closing CR LF.
           {1441, "00:00:03"},
           {1441 + 395, "00:00:08"},
           {1441 + 790, "00:00:13"},
           {1440 + 394, "\r\n"},
           {2624, "\r\n"}}) {
    EXPECT_EQ(At(text, position, expected.size()), expected) << position;
  }

  // A flash record of the same seed holds the same levels in column order (main items, bands,
  // sub items); the set holds value number c at record character 10 + (c - 1) x 6, numbering
  // main items 1-10, sub items 11-20 and bands 21-64.
  Bytes flash;
  AppendFlashRecord({.mode = LoggedMode::OctaveAndThirdOctave, .samples = 3, .seed = 7}, flash);
  for (std::size_t record = 1; record <= 3; ++record) {
    const std::size_t record_start = 1440 + (record - 1) * 395;
    const std::size_t sample_start = 39 + (record - 1) * 128;
    for (const auto& [column, character] :
         {std::pair{1, 10}, {10, 64}, {11, 130}, {54, 388}, {55, 70}, {64, 124}}) {
      const auto tenths = Pair(flash, sample_start + 2 * (column - 1));
      std::string expected = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
      expected.insert(0, 5 - expected.size(), ' ');
      EXPECT_EQ(At(text, record_start + character, 5), expected) << record << " " << column;
    }
  }
}

TEST(FlashRecord, HeaderBytesTimeStampsAndLengthsFollowTheRecordLayout) {
  Bytes record;
  AppendFlashRecord(
      {.mode = LoggedMode::ThirdOctave,
       .main_freq_weighting = 2,
       .main_time_weighting = 3,
       .sub_freq_weighting = 0,
       .sub_time_weighting = 2,
       .range_top = 110,
       .start = {.year = 2013, .month = 12, .day = 31, .hour = 23, .minute = 59, .second = 58},
       .interval = {0, 0, 5},
       .period = {1, 2, 3},
       .integration_time = {0, 4, 5},
       .trigger_mode = 2,
       .trigger_band = 44,
       .trigger_level = 95,
       .trigger_time = {6, 7, 8},
       .samples = 2},
      record);
  ASSERT_EQ(record.size(), 39u + 2 * 112);
  EXPECT_EQ(Bytes(record.begin(), record.begin() + 39),
            (Bytes{0x00, 0x55, 0xAA, 0x00, 0,    0,    0,    2, 0x02, 2,  3, 2, 110,
                   0,    0x13, 0x12, 0x31, 0x23, 0x59, 0x58, 0, 0,    5,  1, 2, 3,
                   0,    2,    0,    0,    4,    5,    0,    2, 44,   95, 6, 7, 8}));
  // Time stamps in packed BCD, start plus r intervals, across the new year.
  EXPECT_EQ(Bytes(record.begin() + 39, record.begin() + 45), (Bytes{0x14, 1, 1, 0, 0, 0x03}));
  EXPECT_EQ(Bytes(record.begin() + 151, record.begin() + 157), (Bytes{0x14, 1, 1, 0, 0, 0x08}));
  // Plausible levels: the first sample's main L05, L10, L50, L90 and L95 fall, within 20 to 140 dB.
  for (std::size_t offset = 45 + 2 * 5; offset < 45 + 2 * 9; offset += 2) {
    EXPECT_GE(Pair(record, offset), Pair(record, offset + 2));
    EXPECT_GT(Pair(record, offset + 2), 200);
    EXPECT_LT(Pair(record, offset), 1400);
  }

  for (const auto& [mode, trigger_mode, samples, length] :
       {std::tuple{LoggedMode::Slm, 0, 10u, 439u},
        {LoggedMode::Octave, 4, 3u, 225u},
        {LoggedMode::OctaveAndThirdOctave, 1, 1u, 167u},
        {LoggedMode::Slm, 2, 0u, 39u}}) {
    Bytes image{0xEE};
    AppendFlashRecord({.mode = mode, .trigger_mode = trigger_mode, .samples = samples}, image);
    EXPECT_EQ(image.size(), 1 + length);
  }
}

struct WalkedRecord {
  int mode;
  int trigger_mode;
  std::uint32_t samples;
};

// Walks the records from the start while headers follow each other; `end` is where it stopped.
std::vector<WalkedRecord> Walk(const Bytes& image, std::size_t& end) {
  constexpr std::array<std::size_t, 4> kSampleSizes{40, 62, 106, 128};
  std::vector<WalkedRecord> records;
  end = 0;
  while (end + 39 <= image.size() &&
         Bytes(image.begin() + end, image.begin() + end + 4) == Bytes{0x00, 0x55, 0xAA, 0x00}) {
    const WalkedRecord record{image[end + 11], image[end + 33],
                              std::uint32_t(Pair(image, end + 4) << 16 | Pair(image, end + 6))};
    records.push_back(record);
    end +=
        39 + record.samples * (kSampleSizes.at(record.mode) + (record.trigger_mode == 2 ? 6 : 0));
  }
  return records;
}

TEST(SampleLoggerContents, CardAndFlashHoldEveryModeAndTriggerAndTheFullFlashFillsTheCapacity) {
  const std::vector<std::optional<std::string>> card = SampleSdCard();
  ASSERT_EQ(card.size(), 7u);
  std::set<std::string> modes, triggers, time_kinds;
  for (std::size_t entry = 0; entry < card.size(); ++entry) {
    ASSERT_EQ(card[entry].has_value(), entry % 2 == 0) << entry;
    if (!card[entry]) {
      continue;
    }
    const std::string& set = *card[entry];
    modes.insert(At(set, 244, 16));
    triggers.insert(At(set, 334, 15));
    time_kinds.insert(At(set, 267, 1));
    EXPECT_EQ(static_cast<unsigned char>(set[2]) * 256u + static_cast<unsigned char>(set[3]) + 2,
              set.size());
  }
  EXPECT_EQ(modes, (std::set<std::string>{"SLM             ", "1/1 Octave      ",
                                          "1/3 Octave      ", "1/1 & 1/3 Octave"}));
  EXPECT_EQ(triggers.size(), 4u);
  EXPECT_EQ(time_kinds.size(), 2u);  // integrated ("g") and interval sets

  std::size_t end = 0;
  const Bytes sample = SampleFlashImage();
  std::set<int> flash_modes, trigger_modes;
  std::uint32_t most_samples = 0;
  for (const WalkedRecord& record : Walk(sample, end)) {
    flash_modes.insert(record.mode);
    trigger_modes.insert(record.trigger_mode);
    most_samples = std::max(most_samples, record.samples);
  }
  EXPECT_EQ(end, sample.size());
  EXPECT_EQ(flash_modes, (std::set<int>{0, 1, 2, 3}));
  EXPECT_EQ(trigger_modes, (std::set<int>{0, 1, 2, 3, 4}));
  EXPECT_GE(most_samples, 200u);

  const Bytes full = FullFlashImage();
  ASSERT_EQ(full.size(), 1015807u);
  EXPECT_GE(Walk(full, end).size(), 4u);
  EXPECT_LT(full.size() - end, 39u + 40);  // not even a one-sample SLM record would fit
  EXPECT_TRUE(std::all_of(full.begin() + end, full.end(), [](auto byte) { return byte == 0; }));
}

}  // namespace
}  // namespace halvane
