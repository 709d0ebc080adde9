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

TEST(LoggerWalk, StopsWhereTheImageEndsOrNoRecordBeginsAndListsEveryRecord) {
  FlashHeader header;
  header.samples = 3;
  const std::vector<std::uint8_t> record = Record(header, 40);

  std::vector<std::uint8_t> garbage_after = record;
  garbage_after.resize(garbage_after.size() + 200, 0xEE);
  EXPECT_EQ(WalkLoggerImage(garbage_after, Size(garbage_after)).size(), 1U);

  // No signature at the start: nothing at all.
  std::vector<std::uint8_t> shifted{0x00};
  Append(shifted, record);
  EXPECT_TRUE(WalkLoggerImage(shifted, Size(shifted)).empty());

  // A last record one byte short is listed with its whole samples, and marked.
  std::vector<std::uint8_t> cut = record;
  Append(cut, record);
  cut.pop_back();
  const LoggerRecordTable short_last = WalkLoggerImage(cut, Size(cut));
  ASSERT_EQ(short_last.size(), 2U);
  EXPECT_EQ(GridRowText(2, short_last[1]), "2\t2013/08/09 23:59:30\tLAS\t2 of 3");
  // A header that runs past the image is not listed.
  std::vector<std::uint8_t> cut_header = record;
  Append(cut_header, std::vector<std::uint8_t>(record.begin(), record.begin() + 20));
  EXPECT_EQ(WalkLoggerImage(cut_header, Size(cut_header)).size(), 1U);
  // Page padding behind the used size holds no sample; a huge count cannot wrap the length.
  std::vector<std::uint8_t> padded = record;
  padded.resize(160, 0);
  EXPECT_EQ(WalkLoggerImage(padded, 40).at(0).samples_held, 0U);
  header.samples = 0xFFFFFFFF;
  EXPECT_EQ(WalkLoggerImage(Record({header}, 0), 39).at(0).samples_held, 0U);

  // More records than the window's table holds are all listed.
  header.samples = 0;
  std::vector<std::uint8_t> many;
  for (int i = 0; i < 260; ++i) {
    Append(many, Record(header, 0));
  }
  EXPECT_EQ(WalkLoggerImage(many, Size(many)).size(), 260U);
  EXPECT_THAT(PageCount(161), 2U);
  EXPECT_THAT(PageCount(320), 2U);
}

}  // namespace
}  // namespace halvane
