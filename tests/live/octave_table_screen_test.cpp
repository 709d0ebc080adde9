#include <gtest/gtest.h>

#include "display_list.h"
#include "live/live_screen.h"

namespace halvane {
namespace {

using testing::HasBox;
using testing::HasText;
using testing::TextsEqual;

constexpr double kPitch = 90.0 / 13;

// A table screen whose every band pair holds 93.5 dB.
Canvas TableOf(std::uint8_t mode) {
  testing::Reply reply;
  for (std::size_t pair = 45; pair < 133; pair += 2) {
    reply.SetLevel(pair, 935);
  }
  Canvas canvas = testing::PanelCanvas();
  DrawOctaveTableScreen(canvas, reply.Set(4, mode).SetLevel(159, 1002).Decode());
  return canvas;
}

TEST(OctaveTables, OctaveTableBlanksItsOuterBandsInBlack) {
  const Canvas canvas = TableOf(4);
  EXPECT_TRUE(HasText(canvas, {280, 13}, "   ---.-") && HasText(canvas, {280, 110}, "   100.2"));
  EXPECT_TRUE(HasText(canvas, {140, 13}, "LAF") && HasText(canvas, {200, 28}, "   16  Hz"));
  const auto dashes = TextsEqual(canvas, "---.-");
  ASSERT_EQ(dashes.size(), 2U);
  EXPECT_EQ(dashes[0].at, (Point{330, 28}));
  EXPECT_EQ(dashes[1].at, (Point{330, 28 + 10 * kPitch}));
  EXPECT_EQ(dashes[1].color, kBlack);
  const auto levels = TextsEqual(canvas, " 93.5");
  ASSERT_EQ(levels.size(), 9U);
  EXPECT_EQ(levels[0].color, kYellow);
  EXPECT_TRUE(HasBox(canvas, {329, 27 + kPitch}, {375, 33 + kPitch}, kBlack));
}

TEST(OctaveTables, ThirdOctaveTableBlanksThreeBandsAtEachEnd) {
  const Canvas canvas = TableOf(5);
  EXPECT_EQ(TextsEqual(canvas, "---.-").size(), 6U);
  EXPECT_EQ(TextsEqual(canvas, " 93.5").size(), 27U);
  EXPECT_TRUE(HasText(canvas, {200, 28}, "  160  Hz") && HasText(canvas, {0, 6}, "1/3 OCT"));
  EXPECT_TRUE(HasText(canvas, {380, 28 + 10 * kPitch}, "  20k  Hz"));
}

TEST(OctaveTables, BothTablesPutEachOctaveBesideItsCentreBand) {
  const Canvas canvas = TableOf(6);
  EXPECT_EQ(TextsEqual(canvas, "---.-").size(), 8U);  // six thirds and two octaves
  EXPECT_EQ(TextsEqual(canvas, " 93.5").size(), 27U + 9U);
  EXPECT_TRUE(HasText(canvas, {120, 30 + kPitch}, "---.-"));  // the 16 Hz octave
  const double row4 = 30 + 4 * kPitch;
  EXPECT_TRUE(HasText(canvas, {120, row4}, " 93.5"));  // the 31.5 Hz octave
  EXPECT_TRUE(HasText(canvas, {451, 22}, "1/3OCT(dB)"));
  EXPECT_TRUE(HasBox(canvas, {387, 22}, {560, 24}, ConsoleColor(10)));
}

}  // namespace
}  // namespace halvane
