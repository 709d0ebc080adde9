#include <gtest/gtest.h>

#include "display_list.h"
#include "live/live_screen.h"

namespace halvane {
namespace {

using testing::HasBox;
using testing::OnlyText;
using testing::Reply;
using testing::TextsEqual;

constexpr double kPitch = 90.0 / 13;

// A table screen whose every band pair holds 93.5 dB.
Canvas TableOf(std::uint8_t mode) {
  Reply reply;
  for (std::size_t pair = 45; pair < 133; pair += 2) {
    reply.SetLevel(pair, 935);
  }
  Canvas canvas = testing::PanelCanvas();
  DrawOctaveTableScreen(canvas, reply.Set(4, mode).SetLevel(159, 1002).Decode());
  return canvas;
}

TEST(OctaveTables, HeadersShowAllPassLevelsWithDashesForZero) {
  const Canvas canvas = TableOf(4);
  EXPECT_EQ(OnlyText(canvas, "   ---.-").at, (Point{280, 13}));
  EXPECT_EQ(OnlyText(canvas, "   100.2").at, (Point{280, 110}));
  EXPECT_TRUE(HasBox(canvas, {57, 110}, {100, 116}, ConsoleColor(4)));
  EXPECT_TRUE(testing::HasText(canvas, {140, 13}, "LAF"));
}

TEST(OctaveTables, OctaveTableBlanksItsOuterBands) {
  const Canvas canvas = TableOf(4);
  const auto dashes = TextsEqual(canvas, "---.-");
  ASSERT_EQ(dashes.size(), 2U);
  EXPECT_EQ(dashes[0].at, (Point{330, 28}));
  EXPECT_EQ(dashes[1].at, (Point{330, 28 + 10 * kPitch}));
  EXPECT_EQ(dashes[1].color, kBlack);
  EXPECT_EQ(OnlyText(canvas, "   16  Hz").at, (Point{200, 28}));

  const auto levels = TextsEqual(canvas, " 93.5");
  ASSERT_EQ(levels.size(), 9U);
  EXPECT_EQ(levels[0].at, (Point{330, 28 + kPitch}));
  EXPECT_EQ(levels[0].color, kYellow);
  EXPECT_TRUE(HasBox(canvas, {329, 27 + kPitch}, {375, 33 + kPitch}, kBlack));
}

TEST(OctaveTables, ThirdOctaveTableBlanksThreeBandsAtEachEnd) {
  const Canvas canvas = TableOf(5);
  EXPECT_EQ(TextsEqual(canvas, "---.-").size(), 6U);
  EXPECT_EQ(TextsEqual(canvas, " 93.5").size(), 27U);
  EXPECT_EQ(OnlyText(canvas, "  160  Hz").at, (Point{200, 28}));
  EXPECT_EQ(OnlyText(canvas, "  20k  Hz").at, (Point{380, 28 + 10 * kPitch}));
  EXPECT_EQ(OnlyText(canvas, "1/3 OCT").at, (Point{0, 6}));
}

TEST(OctaveTables, BothTablesPutEachOctaveBesideItsCentreBand) {
  const Canvas canvas = TableOf(6);
  EXPECT_EQ(TextsEqual(canvas, "---.-").size(), 8U);  // six thirds and two octaves
  EXPECT_EQ(TextsEqual(canvas, " 93.5").size(), 27U + 9U);
  EXPECT_EQ(TextsEqual(canvas, "---.-")[2].at, (Point{120, 30 + kPitch}));  // the 16 Hz octave
  const double row4 = 30 + 4 * kPitch;
  EXPECT_TRUE(HasBox(canvas, {119, row4 - 1}, {165, row4 + 5}, kBlack));  // the 31.5 Hz octave
  EXPECT_EQ(TextsEqual(canvas, "1/3OCT(dB)").back().at, (Point{451, 22}));
  EXPECT_TRUE(HasBox(canvas, {387, 22}, {560, 24}, ConsoleColor(10)));
}

}  // namespace
}  // namespace halvane
