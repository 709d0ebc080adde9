// The live screens drawn for replies of every screen family, written out whole, including replies
// the meter should never send: a range whose top does not exceed its bottom, and indices outside
// the tables.

#include <gtest/gtest.h>

#include "live/meter.h"
#include "tests/file_text.h"
#include "tests/live/display_list.h"

namespace halvane::test {
namespace {

struct ScreenCase {
  const char* name;
  void (*draw)(Canvas&, const LiveReading&);
  std::vector<std::pair<std::size_t, std::uint8_t>> bytes;
  std::vector<std::pair<std::size_t, unsigned>> levels;  // high byte, tenths of a dB
  unsigned all_bands = 0;                                // the 44 band levels, in tenths
};

// Every bar of each bar routine, full, clamped at the top, at the bottom and in an empty range.
void DrawBars(Canvas& canvas, const LiveReading&) {
  canvas.SetCurrentPen({ConsoleColor(4), LineStyle::Dotted, 1});
  for (const int band : {0, 4, 32}) {
    DrawThirdOctaveBar(canvas, 60, 100, 20, 10, band);
  }
  DrawOctaveBar(canvas, 60, 100, 20, 10, 12);
  DrawOctaveBar(canvas, 250, 100, 20, 10, 12);
  DrawOctaveBar(canvas, 20, 100, 20, 9, 3);
  DrawThirdOctaveBar(canvas, 5, 100, 20, 9, 3);
  DrawOctaveBar(canvas, 50, 20, 20, 9, 3);
  DrawThirdOctaveBar(canvas, 50, 10, 20, 9, 3);
}

void DrawBarFrames(Canvas& canvas, const LiveReading&) {
  ReInit(canvas, 130, 40, "A", "C");
  ReInit(canvas, 100, 20, "A", "C");
}

TEST(LiveScreens, EachFamilyDrawsWhatItsReplyHolds) {
  const auto no_connection = [](Canvas& canvas, const LiveReading&) { DrawNoConnection(canvas); };
  const ScreenCase cases[] = {
      {"SLM, range 110", DrawLiveScreen, {{18, 110}}, {}},
      {"SLM, over its range of 100", DrawLiveScreen, {{18, 100}}, {{45, 1200}}},
      {"SLM, under its range", DrawLiveScreen, {{18, 100}}, {{45, 150}}},
      {"SLM, half way", DrawSlmScreen, {{18, 100}}, {{45, 600}}},
      {"SLM, both channels",
       DrawSlmScreen,
       {{19, 0x10}, {20, 0x01}, {21, 1}},
       {{133, 935}, {139, 1000}, {137, 65535}}},
      {"Non-measurement mode", DrawLiveScreen, {{4, 8}}, {}},
      {"No connection", no_connection, {}, {}},
      {"Footer: empty battery", DrawFooter, {{5, 0}}, {}},
      {"Footer: full battery", DrawFooter, {{5, 4}}, {}},
      {"Footer: battery code beyond 4", DrawFooter, {{5, 9}}, {}},
      {"Footer: flags and clock",
       DrawFooter,
       {{1, 0b0001'1000}, {2, 0b0000'0100}, {6, 0x24}, {9, 0x13}, {11, 0x59}},
       {}},
      {"Header: external trigger, flash, manual",
       DrawHeader,
       {{17, 3}, {1, 0b1100'0000}, {12, 42}, {14, 0x12}},
       {}},
      {"Header: unknown trigger, SD card, automatic", DrawHeader, {{17, 5}, {13, 7}}, {}},
      {"Bar frames of 130-40 and 100-20", DrawBarFrames, {}, {}},
      {"Bars", DrawBars, {}, {}},
      {"1/1 bars", DrawLiveScreen, {{4, 1}, {18, 130}, {22, 7}}, {{45, 450}}},
      {"1/1 & 1/3 bars", DrawLiveScreen, {{4, 3}, {18, 100}, {22, 19}}, {{157, 725}}, 400},
      {"1/3 bars, over", DrawLiveScreen, {{4, 2}, {18, 100}, {22, 7}}, {{25, 1010}}},
      {"1/3 bars, under, cursor on the all-pass band",
       DrawLiveScreen,
       {{4, 2}, {18, 100}, {22, 33}},
       {}},
      {"1/1 bars, cursor on the last third", DrawLiveScreen, {{4, 3}, {22, 32}}, {}},
      {"1/1 table", DrawOctaveTableScreen, {{4, 4}}, {{159, 1002}}, 935},
      {"1/3 table", DrawOctaveTableScreen, {{4, 5}}, {{159, 1002}}, 935},
      {"1/1 & 1/3 table", DrawOctaveTableScreen, {{4, 6}}, {{159, 1002}}, 935},
      {"SLM, empty range", DrawLiveScreen, {{18, 20}}, {{45, 500}}},
      {"1/1 & 1/3 bars, range below its bottom",
       DrawLiveScreen,
       {{4, 3}, {18, 10}},
       {{25, 600}, {45, 300}, {67, 300}}},
  };
  std::string drawn;
  for (const ScreenCase& c : cases) {
    Reply reply;
    for (std::size_t pair = 45; c.all_bands != 0 && pair < 133; pair += 2) {
      reply.SetLevel(pair, c.all_bands);
    }
    for (const auto& [index, value] : c.bytes) {
      reply.Set(index, value);
    }
    for (const auto& [index, tenths] : c.levels) {
      reply.SetLevel(index, tenths);
    }
    drawn += std::string("# ") + c.name + "\n" + DisplayListText(Drawn(reply, c.draw));
  }
  ExpectDataFile(drawn, "live/screens.txt");
}

TEST(LiveScreens, OutOfTableIndicesDrawNoBandLabelAndOnlyFiniteCoordinates) {
  for (const auto& [mode, cursor] :
       {std::pair<std::uint8_t, std::uint8_t>{1, 0}, {1, 36}, {2, 34}, {2, 255}, {3, 200}}) {
    for (const TextItem& text : ItemsOf<TextItem>(Drawn(Reply{}.Set(4, mode).Set(22, cursor)))) {
      EXPECT_EQ(text.text.find("Hz"), std::string::npos)
          << "mode " << int{mode} << " cursor " << int{cursor} << ": " << text.text;
    }
  }
  for (const std::size_t index : {4, 5, 17, 18, 19, 20, 21, 22}) {
    for (int value = 0; value < 256; ++value) {
      for (std::uint8_t mode = 0; mode < 8; ++mode) {
        const Reply reply =
            Reply{}.Set(4, mode).Set(18, 100).Set(index, static_cast<std::uint8_t>(value));
        ASSERT_TRUE(AllCoordinatesFinite(Drawn(reply)))
            << "byte " << index << " = " << value << ", mode " << int{mode};
      }
    }
  }
}

}  // namespace
}  // namespace halvane::test
