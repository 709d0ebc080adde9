// The live screens drawn for replies of every screen family, written out whole, including replies
// the meter should never send: a range whose top does not exceed its bottom, and indices outside
// the tables.

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "live/meter.h"
#include "tests/file_text.h"
#include "tests/live/display_list.h"

namespace halvane::test {
namespace {

// The reply a case describes: "INDEX=VALUE" sets a byte, "LINDEX=TENTHS" a level pair from its
// high byte, "bands=TENTHS" all 44 band levels.
Reply ReplyOf(const std::string& settings) {
  Reply reply;
  std::istringstream words(settings);
  for (std::string word; words >> word;) {
    const std::size_t equals = word.find('=');
    const auto value = static_cast<unsigned>(std::stoul(word.substr(equals + 1), nullptr, 0));
    for (std::size_t pair = 45; word.starts_with("bands") && pair < 133; pair += 2) {
      reply.SetLevel(pair, value);
    }
    if (word[0] == 'L') {
      reply.SetLevel(std::stoul(word.substr(1, equals - 1)), value);
    } else if (std::isdigit(static_cast<unsigned char>(word[0]))) {
      reply.Set(std::stoul(word.substr(0, equals)), static_cast<std::uint8_t>(value));
    }
  }
  return reply;
}

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
  using Draw = void (*)(Canvas&, const LiveReading&);
  const std::tuple<const char*, Draw, const char*> cases[] = {
      {"SLM, range 110", DrawLiveScreen, "18=110"},
      {"SLM, over its range of 100", DrawLiveScreen, "18=100 L45=1200"},
      {"SLM, under its range", DrawLiveScreen, "18=100 L45=150"},
      {"SLM, half way", DrawSlmScreen, "18=100 L45=600"},
      {"SLM, both channels", DrawSlmScreen, "19=0x10 20=1 21=1 L133=935 L139=1000 L137=65535"},
      {"Non-measurement mode", DrawLiveScreen, "4=8"},
      {"No connection", no_connection, ""},
      {"Footer: empty battery", DrawFooter, "5=0"},
      {"Footer: full battery", DrawFooter, "5=4"},
      {"Footer: battery code beyond 4", DrawFooter, "5=9"},
      {"Footer: flags and clock", DrawFooter, "1=0x18 2=0x04 6=0x24 9=0x13 11=0x59"},
      {"Header: external trigger, flash, manual", DrawHeader, "17=3 1=0xC0 12=42 14=0x12"},
      {"Header: unknown trigger, SD card, automatic", DrawHeader, "17=5 13=7"},
      {"Bar frames of 130-40 and 100-20", DrawBarFrames, ""},
      {"Bars", DrawBars, ""},
      {"1/1 bars", DrawLiveScreen, "4=1 18=130 22=7 L45=450"},
      {"1/1 & 1/3 bars", DrawLiveScreen, "bands=400 4=3 18=100 22=19 L157=725"},
      {"1/3 bars, over", DrawLiveScreen, "4=2 18=100 22=7 L25=1010"},
      {"1/3 bars, under, cursor on the all-pass band", DrawLiveScreen, "4=2 18=100 22=33"},
      {"1/1 bars, cursor on the last third", DrawLiveScreen, "4=3 22=32"},
      {"1/1 table", DrawOctaveTableScreen, "bands=935 4=4 L159=1002"},
      {"1/3 table", DrawOctaveTableScreen, "bands=935 4=5 L159=1002"},
      {"1/1 & 1/3 table", DrawOctaveTableScreen, "bands=935 4=6 L159=1002"},
      {"SLM, empty range", DrawLiveScreen, "18=20 L45=500"},
      {"1/1 & 1/3 bars, range below its bottom", DrawLiveScreen,
       "4=3 18=10 L25=600 L45=300 L67=300"},
      // Cursors outside the band tables: no band label.
      {"1/1 bars, cursor 0", DrawLiveScreen, "4=1 22=0"},
      {"1/1 bars, cursor 36", DrawLiveScreen, "4=1 22=36"},
      {"1/3 bars, cursor 34", DrawLiveScreen, "4=2 22=34"},
      {"1/3 bars, cursor 255", DrawLiveScreen, "4=2 22=255"},
      {"1/1 & 1/3 bars, cursor 200", DrawLiveScreen, "4=3 22=200"},
  };
  std::string drawn;
  for (const auto& [name, draw, reply] : cases) {
    drawn += std::string("# ") + name + "\n" + DisplayListText(Drawn(ReplyOf(reply), draw));
  }
  ExpectDataFile(drawn, "live/screens.txt");
}

TEST(LiveScreens, AnyValueOfTheSettingBytesDrawsOnlyFiniteCoordinates) {
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
