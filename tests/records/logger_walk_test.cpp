// The walk of a flash image into the record table, and the grid rows it gives.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "records/logger_image.h"
#include "records/sd_set.h"
#include "tests/records/logged_inputs.h"

namespace halvane {
namespace {

using test::FlashHeader;

std::vector<std::uint8_t> Record(FlashHeader header, std::size_t sample_size) {
  std::vector<std::uint8_t> bytes = header.Bytes();
  bytes.resize(bytes.size() + header.samples * sample_size, 0x01);
  return bytes;
}

void Append(std::vector<std::uint8_t>& image, const std::vector<std::uint8_t>& record) {
  image.insert(image.end(), record.begin(), record.end());
}

std::uint32_t Size(const std::vector<std::uint8_t>& image) {
  return static_cast<std::uint32_t>(image.size());
}

TEST(LoggerWalk, FollowsRecordLengthsAndListsEachRecordInTheGrid) {
  FlashHeader slm;
  slm.samples = 10;  // 10 x 40 + 39 = 439 bytes
  FlashHeader stamped;
  stamped.samples = 3;
  stamped.mode = 2;
  stamped.trigger_mode = 2;  // 1/3 OCTAVE samples of 106 + 6 bytes
  FlashHeader octave;
  octave.samples = 2;
  octave.mode = 1;
  octave.range_top = 110;
  std::vector<std::uint8_t> image;
  Append(image, Record(slm, 40));
  Append(image, Record(stamped, 112));
  Append(image, Record(octave, 62));
  const std::size_t used = image.size();
  image.resize(PageCount(used) * kPageBytes);  // page padding behind the used size

  const LoggerRecordTable table = WalkLoggerImage(image, static_cast<std::uint32_t>(used));
  ASSERT_EQ(table.size(), 3U);
  EXPECT_EQ(table[0].length, 439U);
  EXPECT_EQ(table[1].offset, 439U);
  EXPECT_EQ(table[1].SampleSize(), 112U);
  EXPECT_EQ(table[2].offset, 439U + 39U + 3U * 112U);
  EXPECT_EQ(table[2].range_lower, 20);
  EXPECT_EQ(table[0].range_lower, 40);
  EXPECT_EQ(GridRowText(1, table[0]), "1\t2013/08/09 23:59:30\tLAS\t10");
  EXPECT_EQ(GridRowText(3, table[2]), "3\t2013/08/09 23:59:30\tLAS\t2");
}

TEST(LoggerWalk, StopsWhereTheImageEndsOrNoRecordBegins) {
  FlashHeader header;
  header.samples = 1;
  const std::vector<std::uint8_t> record = Record(header, 40);

  std::vector<std::uint8_t> garbage_after = record;
  garbage_after.resize(garbage_after.size() + 200, 0xEE);
  EXPECT_EQ(WalkLoggerImage(garbage_after, Size(garbage_after)).size(), 1U);

  // No signature at the start: nothing at all.
  std::vector<std::uint8_t> shifted{0x00};
  Append(shifted, record);
  EXPECT_TRUE(WalkLoggerImage(shifted, Size(shifted)).empty());

  // A record whose samples, or whose header, run past the image is not listed.
  std::vector<std::uint8_t> cut = record;
  Append(cut, record);
  cut.pop_back();
  EXPECT_EQ(WalkLoggerImage(cut, Size(cut)).size(), 1U);
  std::vector<std::uint8_t> cut_header = record;
  Append(cut_header, std::vector<std::uint8_t>(record.begin(), record.begin() + 20));
  EXPECT_EQ(WalkLoggerImage(cut_header, Size(cut_header)).size(), 1U);
  // ... nor one that only the page padding behind the used size would complete.
  std::vector<std::uint8_t> padded = record;
  padded.resize(160, 0);
  EXPECT_TRUE(WalkLoggerImage(padded, 40).empty());

  // A huge sample count cannot wrap the length round.
  header.samples = 0xFFFFFFFF;
  EXPECT_TRUE(WalkLoggerImage(Record({header}, 0), 39).empty());

  // At most 250 records: 260 empty ones (headers only) fill the table.
  header.samples = 0;
  std::vector<std::uint8_t> many;
  for (int i = 0; i < 260; ++i) {
    Append(many, Record(header, 0));
  }
  EXPECT_EQ(WalkLoggerImage(many, Size(many)).size(), kMaxLoggerRecords);
  EXPECT_THAT(PageCount(161), 2U);
  EXPECT_THAT(PageCount(320), 2U);
}

}  // namespace
}  // namespace halvane
