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

LoggerRecordTable Walk(const Bytes& image, std::size_t used = SIZE_MAX) {
  return WalkLoggerImage(image, static_cast<std::uint32_t>(std::min(used, image.size())));
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

TEST(LoggerWalk, StopsWhereTheImageEndsOrNoRecordBeginsAndListsEveryRecord) {
  const Bytes record = FlashInput("octave_level1.flash");
  EXPECT_EQ(Walk(Joined({record, Bytes(200, 0xEE)})).size(), 1U);
  EXPECT_TRUE(Walk(Joined({{0x00}, record})).empty()) << "no signature at the start";
  // A last record one byte short is listed with its whole samples, and marked; a header that
  // runs past the image is not listed.
  const Bytes slm = FlashInput("slm_interval.flash");
  const LoggerRecordTable cut = Walk(Joined({slm, Bytes(slm.begin(), slm.end() - 1)}));
  ASSERT_EQ(cut.size(), 2U);
  EXPECT_EQ(GridRowText(2, cut[1]), "2\t2013/08/09 23:59:30\tLAS\t1 of 2");
  EXPECT_EQ(Walk(Joined({record, Bytes(record.begin(), record.begin() + 20)})).size(), 1U);
  // Page padding behind the used size holds no sample; a huge count cannot wrap the length.
  EXPECT_EQ(Walk(Joined({record, Bytes(60, 0)}), 40).at(0).samples_held, 0U);
  Bytes header(record.begin(), record.begin() + kLoggerHeaderLength);
  std::fill(header.begin() + 4, header.begin() + 8, 0xFF);
  EXPECT_EQ(Walk(header).at(0).samples_held, 0U);
  // More records than the window's table holds are all listed.
  std::fill(header.begin() + 4, header.begin() + 8, 0x00);
  Bytes many;
  for (int i = 0; i < 260; ++i) {
    many = Joined({many, header});
  }
  EXPECT_EQ(Walk(many).size(), 260U);
}

}  // namespace
}  // namespace halvane::test
