// The walk of a flash image into the record table, and the grid rows it gives.

#include <gtest/gtest.h>

#include "tests/records/record_inputs.h"

namespace halvane::test {
namespace {

Bytes Joined(std::initializer_list<Bytes> records) {
  Bytes image;
  for (const Bytes& record : records) {
    image.insert(image.end(), record.begin(), record.end());
  }
  return image;
}

std::size_t Walked(const Bytes& image, std::size_t used = SIZE_MAX) {
  return WalkLoggerImage(image, static_cast<std::uint32_t>(std::min(used, image.size()))).size();
}

TEST(LoggerWalk, FollowsRecordLengthsAndListsEachRecordInTheGrid) {
  // 2 SLM samples of 40 bytes, 1 stamped 1/3 OCTAVE sample of 106 + 6, 1 1/1 OCTAVE sample of 62.
  Bytes image = Joined({FlashInput("slm_interval.flash"), FlashInput("third_stamped.flash"),
                        FlashInput("octave_level1.flash")});
  const std::size_t used = image.size();
  image.resize(PageCount(used) * kPageBytes);  // page padding behind the used size
  const LoggerRecordTable table = WalkLoggerImage(image, static_cast<std::uint32_t>(used));
  ASSERT_EQ(table.size(), 3U);
  EXPECT_EQ(table[0].length, 39U + 2 * 40);
  EXPECT_EQ(table[1].offset, 119U);
  EXPECT_EQ(table[1].SampleSize(), 112U);
  EXPECT_EQ(table[2].offset, 119U + 39 + 112);
  EXPECT_EQ(table[0].range_lower, 40);
  EXPECT_EQ(table[2].range_lower, 20);
  EXPECT_EQ(GridRowText(1, table[0]), "1\t2013/08/09 23:59:30\tLAS\t2");
  EXPECT_EQ(GridRowText(3, table[2]), "3\t2013/08/09 23:59:30\tLAS\t1");
  EXPECT_EQ(PageCount(161), 2U);
  EXPECT_EQ(PageCount(320), 2U);
}

TEST(LoggerWalk, StopsWhereTheImageEndsOrNoRecordBegins) {
  const Bytes record = FlashInput("octave_level1.flash");
  EXPECT_EQ(Walked(Joined({record, Bytes(200, 0xEE)})), 1U);
  EXPECT_EQ(Walked(Joined({{0x00}, record})), 0U) << "no signature at the start";
  // A record whose samples, or whose header, run past the image is not listed, nor one that
  // only the page padding behind the used size would complete.
  EXPECT_EQ(Walked(Joined({record, Bytes(record.begin(), record.end() - 1)})), 1U);
  EXPECT_EQ(Walked(Joined({record, Bytes(record.begin(), record.begin() + 20)})), 1U);
  EXPECT_EQ(Walked(Joined({record, Bytes(60, 0)}), 40), 0U);
  // A huge sample count cannot wrap the length round.
  Bytes header(record.begin(), record.begin() + kLoggerHeaderLength);
  std::fill(header.begin() + 4, header.begin() + 8, 0xFF);
  EXPECT_EQ(Walked(header), 0U);
  // At most 250 records: 260 empty ones (headers only) fill the table.
  std::fill(header.begin() + 4, header.begin() + 8, 0x00);
  Bytes many;
  for (int i = 0; i < 260; ++i) {
    many = Joined({many, header});
  }
  EXPECT_EQ(Walked(many), kMaxLoggerRecords);
}

}  // namespace
}  // namespace halvane::test
