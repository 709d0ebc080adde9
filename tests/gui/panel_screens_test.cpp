// Each screen family as the window paints it, checked on rendered pixels.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "panel_fixture.h"
#include "ui/canvas.h"

namespace halvane {
namespace {

constexpr int kWidth = 907;
constexpr int kHeight = 591;

struct Probe {
  Point at;  // user units
  Color expected;
};

struct ScreenCase {
  friend void PrintTo(const ScreenCase& screen, std::ostream* out) { *out << screen.name; }
  const char* name;
  int display_mode;
  bool unplugged;
  std::vector<Probe> probes;
};

class PanelScreensTest : public PanelFixture, public ::testing::WithParamInterface<ScreenCase> {
 protected:
  QImage Render() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    panel->DrawingArea().PaintInto(painter, QRectF(0, 0, kWidth, kHeight));
    return image;
  }
  static Color PixelAt(const QImage& image, Point at) {
    const QColor pixel = image.pixelColor(static_cast<int>(at.x * kWidth / 560),
                                          static_cast<int>(at.y * kHeight / 120));
    return Color{static_cast<std::uint8_t>(pixel.red()), static_cast<std::uint8_t>(pixel.green()),
                 static_cast<std::uint8_t>(pixel.blue())};
  }
};

TEST_P(PanelScreensTest, PaintsTheScreenOfTheDisplayMode) {
  const ScreenCase& screen = GetParam();
  meter.State().display_mode = screen.display_mode;
  if (screen.unplugged) {
    backend.Unplug();
  }
  panel->PollMeter();
  const QImage image = Render();
  for (const Probe& probe : screen.probes) {
    const Color pixel = PixelAt(image, probe.at);
    EXPECT_EQ(pixel, probe.expected)
        << screen.name << " at (" << probe.at.x << ", " << probe.at.y << "): " << int(pixel.r)
        << "," << int(pixel.g) << "," << int(pixel.b);
  }
}

const Color kBackground = kWindowBackground;

INSTANTIATE_TEST_SUITE_P(
    Families, PanelScreensTest,
    ::testing::Values(
        ScreenCase{"sound level meter",
                   0,
                   false,
                   {{{165, 11}, kBlack}, {{31, 25}, ConsoleColor(9)}, {{243.5, 52.5}, kBlack}}},
        ScreenCase{
            "octave bars",
            1,
            false,
            {{{165, 11}, kBlack}, {{495, 89}, ConsoleColor(9)}, {{535, 89}, ConsoleColor(4)}}},
        ScreenCase{"octave table",
                   5,
                   false,
                   {{{165, 11}, kBlack}, {{100, 23}, ConsoleColor(10)}, {{379, 18.5}, kBlack}}},
        ScreenCase{
            "non-measurement", 8, false, {{{165, 11}, kBackground}, {{300, 110}, kBackground}}},
        ScreenCase{
            "no connection", 0, true, {{{165, 11}, kBackground}, {{300, 110}, kBackground}}}),
    [](const ::testing::TestParamInfo<ScreenCase>& param_info) {
      std::string name = param_info.param.name;
      std::replace_if(
          name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
      return name;
    });

}  // namespace
}  // namespace halvane
