// The demo contents of the simulated meter's SD card and flash memory: every mode and trigger,
// and a full flash image that fills the capacity. The layouts of set texts and flash records are
// checked through the record files made of them, in the data logger window's tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "records/logger_image.h"
#include "records/sd_set.h"
#include "sim/flash_record.h"
#include "sim/sample_logger_contents.h"

namespace halvane {
namespace {

TEST(SampleLoggerContents, CardAndFlashHoldEveryModeAndTriggerAndTheFullFlashFillsTheCapacity) {
  const std::vector<std::optional<std::string>> card = SampleSdCard();
  ASSERT_EQ(card.size(), 7u);
  std::set<std::string> modes, triggers, time_kinds;
  for (std::size_t entry = 0; entry < card.size(); ++entry) {
    ASSERT_EQ(card[entry].has_value(), entry % 2 == 0) << entry;
    if (card[entry]) {
      modes.insert(card[entry]->substr(243, 16));
      triggers.insert(card[entry]->substr(333, 15));
      time_kinds.insert(card[entry]->substr(266, 1));  // integrated ("g") or interval
      EXPECT_EQ(SetLengthField(*card[entry]) + 2, card[entry]->size());
    }
  }
  EXPECT_EQ(modes.size(), 4u);
  EXPECT_EQ(triggers.size(), 4u);
  EXPECT_EQ(time_kinds.size(), 2u);

  const std::vector<std::uint8_t> sample = SampleFlashImage();
  const LoggerRecordTable table =
      WalkLoggerImage(sample, static_cast<std::uint32_t>(sample.size()));
  std::set<int> flash_modes, trigger_modes;
  std::uint32_t most_samples = 0;
  for (const LoggerRecord& record : table) {
    flash_modes.insert(record.mode_code);
    trigger_modes.insert(record.trigger_mode);
    most_samples = std::max(most_samples, record.sample_count);
  }
  EXPECT_EQ(table.back().offset + table.back().length, sample.size());
  EXPECT_EQ(flash_modes, (std::set<int>{0, 1, 2, 3}));
  EXPECT_EQ(trigger_modes, (std::set<int>{0, 1, 2, 3, 4}));
  EXPECT_GE(most_samples, 200u);

  const std::vector<std::uint8_t> full = FullFlashImage();
  ASSERT_EQ(full.size(), kLoggerCapacity);
  const LoggerRecordTable full_table = WalkLoggerImage(full, kLoggerCapacity);
  ASSERT_GE(full_table.size(), 4u);
  const std::size_t end = full_table.back().offset + full_table.back().length;
  EXPECT_LT(full.size() - end, 39u + 40);  // not even a one-sample SLM record would fit
  EXPECT_TRUE(std::all_of(full.begin() + end, full.end(), [](auto byte) { return byte == 0; }));
}

// The sample records all weight their sub channel C and S, whose codes are alike.
TEST(FlashRecord, SubWeightingsReachTheRecordFile) {
  std::vector<std::uint8_t> image;
  AppendFlashRecord({.sub_freq_weighting = 0, .sub_time_weighting = 2, .samples = 1}, image);
  const LoggerRecordTable table = WalkLoggerImage(image, static_cast<std::uint32_t>(image.size()));
  EXPECT_NE(FlashRecordFileText(image, table.at(0))
                .find("Sub Frequency Weight : A\r\n"
                      "Sub Time Weight : t\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace halvane
