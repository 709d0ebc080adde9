#include "live/live_screen.h"

#include <gtest/gtest.h>

#include "display_list.h"

namespace halvane {
namespace {

using testing::Reply;

TEST(LiveScreen, DrawsHeaderFooterAndTheModesScreen) {
  for (const auto& [mode, title] : {std::pair<std::uint8_t, std::string_view>{0, "SLM"},
                                    {3, "1/1 & 1/3 OCT"},
                                    {5, "1/3 OCT"}}) {
    Canvas canvas = testing::PanelCanvas();
    DrawLiveScreen(canvas, Reply{}.Set(4, mode).Decode());
    EXPECT_FALSE(testing::TextsEqual(canvas, title).empty()) << "mode " << int{mode};
    EXPECT_EQ(testing::TextsEqual(canvas, "Ntrig").size(), 1U);
    EXPECT_EQ(testing::TextsEqual(canvas, "00/00/00 00:00:00").size(), 1U);
  }
}

TEST(LiveScreen, MessagesReplaceEverythingElse) {
  Canvas canvas = testing::PanelCanvas();
  DrawLiveScreen(canvas, Reply{}.Set(4, 8).Decode());
  ASSERT_EQ(canvas.Items().size(), 1U);
  EXPECT_EQ(testing::OnlyText(canvas, "Non-Measurement Mode").font, (Font{36, true}));
  EXPECT_TRUE(testing::HasText(canvas, {30, 60}, "Non-Measurement Mode"));

  DrawNoConnection(canvas);
  ASSERT_EQ(canvas.Items().size(), 1U);
  EXPECT_TRUE(testing::HasText(canvas, {30, 60}, "No Connection"));
}

}  // namespace
}  // namespace halvane
