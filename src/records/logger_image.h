#pragma once
// The meter's flash memory of automatically recorded data: records one after another, each a
// 39-byte header followed by its samples. The walk decodes the headers into the record table.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "records/record_file_layout.h"
#include "records/record_mode.h"

namespace halvane {

// The flash area that holds recorded data; a meter reporting more is not believed.
inline constexpr std::uint32_t kLoggerCapacity = 1015807;
inline constexpr std::size_t kLoggerHeaderLength = 39;
// The rows of the data-logger window's table; the walk itself lists every record.
inline constexpr std::size_t kMaxLoggerRecords = 250;

// One decoded record header: an entry of `LoggerRecordTable`.
struct LoggerRecord {
  std::uint32_t sample_count = 0;  // as the header states it
  std::uint32_t samples_held = 0;  // whole samples in the image: fewer for a record cut short
  std::uint8_t flags = 0;
  int mode_code = 0;
  std::optional<RecordMode> mode;  // nullopt for a mode code outside 0 to 3
  std::string main_freq_weighting;
  std::string main_time_weighting;
  std::string sub_freq_weighting;
  std::string sub_time_weighting;
  int range_upper = 0;
  int range_lower = 0;
  std::string start_date;  // 20yy/mm/dd
  std::string start_time;  // hh:mm:ss
  std::string interval;    // hh:mm:ss; empty for trigger mode 2
  std::string period;      // hh:mm:ss; empty for trigger mode 2
  std::string integration_time;
  std::uint32_t step_seconds = 0;  // between samples
  std::uint8_t byte_28 = 0;
  std::uint8_t byte_32 = 0;
  int trigger_mode = 0;
  std::string trigger_mode_text;
  std::string trigger_band_text;
  std::string trigger_level_text;
  std::size_t extra_bytes_per_sample = 0;  // the time stamp of trigger mode 2
  std::uint64_t length = 0;                // header and samples
  std::uint64_t offset = 0;                // of its header in the image

  bool SampledAtInterval() const { return (flags & 0x02) != 0; }
  bool CutShort() const { return samples_held < sample_count; }
  std::size_t SampleSize() const;
};

using LoggerRecordTable = std::vector<LoggerRecord>;

// Decodes the records from the start of the image. The walk stops at the first position
// without a record signature, before a header that would run past the image, and after a record
// whose samples run past it: that record is listed, cut short to the whole samples the image
// holds. `used_size` is the size the meter reported; bytes past it are only page padding.
LoggerRecordTable WalkLoggerImage(std::span<const std::uint8_t> image, std::uint32_t used_size);

// The record's row in the data-logger grid: number, start, weighting, samples, TAB between. A
// record cut short gives its samples as "9 of 10".
std::string GridRowText(std::size_t number, const LoggerRecord& record);

// The record file of one record of the image: lines 1 to 13 ending there when the mode code is
// unknown, else the whole file with one line per sample held. Reads only within the image.
std::string FlashRecordFileText(std::span<const std::uint8_t> image, const LoggerRecord& record,
                                const RecordProgress& progress = {});

}  // namespace halvane
