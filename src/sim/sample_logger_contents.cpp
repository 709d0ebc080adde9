#include "sim/sample_logger_contents.h"

#include <algorithm>
#include <array>

#include "sim/flash_record.h"
#include "sim/sd_set_text.h"

namespace halvane {

std::vector<std::optional<std::string>> SampleSdCard() {
  const std::array<SdSetDescription, 4> sets{{
      {.mode = LoggedMode::Slm, .records = 12, .seed = 11},
      {.mode = LoggedMode::Octave,
       .integrated = true,
       .time = "00:01:00",
       .start_time = "23:57:00",
       .trigger = SdTrigger::External,
       .records = 8,
       .seed = 12},
      {.mode = LoggedMode::ThirdOctave,
       .time = "00:00:10",
       .start_date = "2013/08/10",
       .start_time = "08:00:00",
       .weightings = {'C', 'S', 'Z', 'F'},
       .range_bottom = 20,
       .range_top = 110,
       .trigger = SdTrigger::Level,
       .trigger_level = "90 dB",
       .trigger_band = "500 Hz",
       .records = 6,
       .seed = 13},
      {.mode = LoggedMode::OctaveAndThirdOctave,
       .integrated = true,
       .time = "00:05:00",
       .period = "01:00:00",
       .start_date = "2013/08/11",
       .start_time = "11:59:00",
       .trigger = SdTrigger::Time,
       .trigger_time = "12:00:00",
       .records = 5,
       .seed = 14},
  }};
  std::vector<std::optional<std::string>> card;
  for (const SdSetDescription& set : sets) {
    if (!card.empty()) {
      card.emplace_back(std::nullopt);
    }
    card.emplace_back(ComposeSdSetText(set));
  }
  return card;
}

std::vector<std::uint8_t> SampleFlashImage() {
  const std::array<FlashRecordDescription, 5> records{{
      {.mode = LoggedMode::Slm, .samples = 20, .seed = 21},
      {.mode = LoggedMode::Octave,
       .sampled_at_interval = false,
       .integration_time = {0, 1, 0},
       .trigger_mode = 1,
       .trigger_band = 6,
       .trigger_level = 80,
       .samples = 15,
       .seed = 22},
      {.mode = LoggedMode::ThirdOctave,
       .main_freq_weighting = 1,
       .range_top = 110,
       .start = {.year = 2013, .month = 8, .day = 10, .hour = 23, .minute = 59, .second = 50},
       .interval = {0, 0, 5},
       .trigger_mode = 2,
       .trigger_band = 44,
       .trigger_level = 95,
       .samples = 12,
       .seed = 23},
      {.mode = LoggedMode::OctaveAndThirdOctave, .trigger_mode = 3, .samples = 10, .seed = 24},
      {.mode = LoggedMode::OctaveAndThirdOctave,
       .start = {.year = 2013, .month = 8, .day = 11, .hour = 7, .minute = 0, .second = 0},
       .interval = {0, 0, 10},
       .trigger_mode = 4,
       .trigger_time = {7, 0, 0},
       .samples = 300,
       .seed = 25},
  }};
  std::vector<std::uint8_t> image;
  for (const FlashRecordDescription& record : records) {
    AppendFlashRecord(record, image);
  }
  return image;
}

std::vector<std::uint8_t> FullFlashImage() {
  constexpr std::uint32_t kMostSamples = 2000;
  constexpr std::array kModes{LoggedMode::OctaveAndThirdOctave, LoggedMode::ThirdOctave,
                              LoggedMode::Octave, LoggedMode::Slm};
  std::vector<std::uint8_t> image;
  image.reserve(kFlashCapacity);
  for (std::uint32_t index = 0;; ++index) {
    FlashRecordDescription record{.mode = kModes[index % kModes.size()],
                                  .trigger_mode = static_cast<int>(index % 5),
                                  .seed = 100 + index};
    const std::size_t room = kFlashCapacity - image.size();
    if (room < kFlashHeaderLength + FlashSampleSize(record.mode, record.trigger_mode)) {
      // The last record takes the smallest samples, so that less is left unused.
      record.mode = LoggedMode::Slm;
      record.trigger_mode = 0;
    }
    const std::size_t sample_size = FlashSampleSize(record.mode, record.trigger_mode);
    if (room < kFlashHeaderLength + sample_size) {
      break;
    }
    record.samples = static_cast<std::uint32_t>(
        std::min<std::size_t>(kMostSamples, (room - kFlashHeaderLength) / sample_size));
    AppendFlashRecord(record, image);
  }
  image.resize(kFlashCapacity, 0);
  return image;
}

}  // namespace halvane
