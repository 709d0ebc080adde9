#include "live/live_screen.h"

#include <gtest/gtest.h>

#include "display_list.h"

namespace halvane {
namespace {

using testing::OnlyText;
using testing::Reply;

TEST(LiveScreen, DrawsHeaderFooterAndTheModesScreen) {
  const std::pair<std::uint8_t, std::string_view> kTitles[] = {
      {0, "SLM"}, {2, "1/3 OCT"}, {3, "1/1 & 1/3 OCT"}, {5, "1/3 OCT"}, {7, "1/1 & 1/3 OCT"}};
  for (const auto& [mode, title] : kTitles) {
    Canvas canvas = testing::PanelCanvas();
    DrawLiveScreen(canvas, Reply{}.Set(4, mode).Decode());
    EXPECT_FALSE(testing::TextsEqual(canvas, title).empty()) << "mode " << int{mode};
    OnlyText(canvas, "Ntrig");
    OnlyText(canvas, "00/00/00 00:00:00");
  }
}

TEST(LiveScreen, OtherModesShowOnlyTheNonMeasurementMessage) {
  Canvas canvas = testing::PanelCanvas();
  DrawLiveScreen(canvas, Reply{}.Set(4, 8).Decode());
  ASSERT_EQ(canvas.Items().size(), 1U);
  const TextItem message = OnlyText(canvas, "Non-Measurement Mode");
  EXPECT_EQ(message.at, (Point{30, 60}));
  EXPECT_EQ(message.font, (Font{36, true}));
}

TEST(LiveScreen, NoConnectionReplacesEverything) {
  Canvas canvas = testing::PanelCanvas();
  DrawLiveScreen(canvas, Reply{}.Decode());
  DrawNoConnection(canvas);
  ASSERT_EQ(canvas.Items().size(), 1U);
  EXPECT_EQ(OnlyText(canvas, "No Connection").at, (Point{30, 60}));
}

}  // namespace
}  // namespace halvane
