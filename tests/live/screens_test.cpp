// The live screens drawn for replies, including replies the meter should never send: a range
// whose top does not exceed its bottom, and indices outside the tables.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "display_list.h"

namespace halvane::testing {
namespace {

TEST(LiveScreen, DrawsHeaderFooterAndTheModesScreenOrAMessageAlone) {
  for (const auto& [mode, title] : {std::pair<std::uint8_t, std::string_view>{0, "SLM"},
                                    {3, "1/1 & 1/3 OCT"},
                                    {5, "1/3 OCT"}}) {
    const Canvas canvas = Drawn(Reply{}.Set(4, mode));
    EXPECT_FALSE(Texts(canvas, title).empty()) << "mode " << int{mode};
    EXPECT_EQ(Texts(canvas, "Ntrig").size(), 1U);
    EXPECT_EQ(Texts(canvas, "00/00/00 00:00:00").size(), 1U);
  }
  Canvas canvas = Drawn(Reply{}.Set(4, 8));
  ASSERT_EQ(canvas.Items().size(), 1U);
  EXPECT_EQ(OnlyText(canvas, "Non-Measurement Mode").font, (Font{36, true}));
  ExpectTexts(canvas, {{{30, 60}, "Non-Measurement Mode"}});
  DrawNoConnection(canvas);
  ASSERT_EQ(canvas.Items().size(), 1U);
  ExpectTexts(canvas, {{{30, 60}, "No Connection"}});
}

TEST(HeaderFooter, ShowBatteryFlagsTagsRecordNumbersAndTheRightAlignedClock) {
  const Canvas empty = Drawn(Reply{}.Set(5, 0), DrawFooter);
  EXPECT_TRUE(HasBox(empty, {2, 118}, {4, 119}, ConsoleColor(12)));
  EXPECT_EQ(ItemsOf<BoxItem>(empty).size(), 3U);
  const Canvas full = Drawn(Reply{}.Set(5, 4), DrawFooter);
  for (const double x : {2.0, 5.0, 8.0, 11.0}) {
    EXPECT_TRUE(HasBox(full, {x, 118}, {x + 2, 119}, ConsoleColor(14))) << "segment at " << x;
  }
  EXPECT_EQ(ItemsOf<BoxItem>(Drawn(Reply{}.Set(5, 9), DrawFooter)).size(), 2U);  // body, tip

  const auto measure = [](std::string_view, const Font&) { return 100.0; };
  EXPECT_EQ(ItemsOf<TextItem>(Drawn(Reply{}, DrawFooter, measure)).size(), 1U);  // clock alone
  Reply reply;
  reply.Set(1, 0b0001'1000).Set(2, 0b0000'0100).Set(6, 0x24).Set(9, 0x13).Set(11, 0x59);
  const Canvas footer = Drawn(reply, DrawFooter, measure);
  EXPECT_TRUE(HasBox(footer, {24, 117.5}, {48, 119.5}, ConsoleColor(12)));
  ExpectTexts(footer, {{{25, 117.5}, "MFull"}, {{57, 117.5}, "AFull"}});
  ExpectTexts(footer, {{{460, 117.5}, "24/00/00 13:00:59"}});
  EXPECT_EQ(OnlyText(footer, "Cmp").color, kWhite);

  const Canvas header =
      Drawn(Reply{}.Set(17, 3).Set(1, 0b1100'0000).Set(12, 42).Set(14, 0x12), DrawHeader);
  EXPECT_EQ(OnlyText(header, "EXT").color, kYellow);
  ExpectTexts(header, {{{235, 6}, "EXT"}, {{420, 6}, "FL"}, {{460, 6}, "M"}});
  ExpectTexts(header, {{{500, 7}, "0042"}, {{310, 7}, "12:00:00"}});
  const Canvas auto_sd = Drawn(Reply{}.Set(17, 5).Set(13, 7), DrawHeader);
  EXPECT_EQ(ItemsOf<TextItem>(auto_sd).size(), 4U);  // no trigger tag
  ExpectTexts(auto_sd, {{{420, 6}, "sd"}, {{500, 7}, "0007"}});
}

constexpr auto kIsSlmTick = [](const LineItem& l) { return l.from.y == 20 && l.to.y == 19; };

TEST(SlmScreen, ScaleDividesTheRangeInTensOfDecibelsAndMarksLevelsOutsideIt) {
  const auto labels = [](const Canvas& c) {
    return StringsOf(c, [](const TextItem& t) { return t.at.y == 16; });
  };
  const Canvas canvas = Drawn(Reply{}.Set(18, 110));
  EXPECT_EQ(labels(canvas), (std::vector<std::string>{"20", "110", "30", "40", "50", "60", "70",
                                                      "80", "90", "100"}));
  EXPECT_EQ(ItemsOf<LineItem>(canvas, kIsSlmTick).size(), 8U);
  const double tick = 30 + 500.0 / 9;
  EXPECT_TRUE(HasLine(canvas, {tick, 20}, {tick, 19}));
  ExpectTexts(canvas, {{{tick - 4, 16}, "30"}});
  EXPECT_EQ(labels(Drawn(Reply{}.Set(18, 130)))[1], "130");

  const Canvas over = Drawn(Reply{}.Set(18, 100).SetLevel(45, 1200));
  ExpectTexts(over, {{{536, 28}, "OV"}});
  EXPECT_TRUE(Texts(over, "UN").empty());
  EXPECT_TRUE(HasBox(over, {30, 20}, {530, 30}, ConsoleColor(9)));
  const Canvas under = Drawn(Reply{}.Set(18, 100).SetLevel(45, 150));
  EXPECT_EQ(OnlyText(under, "UN").color, kYellow);
  EXPECT_TRUE(HasBox(under, {30, 20}, {30, 30}, ConsoleColor(9)));
  const Canvas half = Drawn(Reply{}.Set(18, 100).SetLevel(45, 600));
  EXPECT_TRUE(HasBox(half, {30, 20}, {280, 30}, ConsoleColor(9)));
}

TEST(SlmScreen, ShowsBothChannelsWithDashesForZeroLevels) {
  const Canvas canvas =
      Drawn(Reply{}.Set(19, 0x10).Set(20, 0x01).Set(21, 1).SetLevel(133, 935).SetLevel(139, 1000));
  EXPECT_EQ(OnlyText(canvas, " 93.5").color, kYellow);
  EXPECT_TRUE(HasBox(canvas, {268, 35}, {310, 41}, ConsoleColor(4)));
  ExpectTexts(canvas, {{{145, 45}, " 93.5"}, {{395, 45}, "---.-"}});
  ExpectTexts(canvas, {{{30, 45}, "LAeq"}, {{270, 45}, "LCeq"}, {{30, 60}, "LAeq     ---.-"}});
  ExpectTexts(canvas, {{{30, 72}, "LASmax   100.0"}, {{280, 84}, "LCF05    ---.-"}});
  // A level longer than its column keeps every digit.
  ExpectTexts(Drawn(Reply{}.SetLevel(137, 65535)), {{{30, 66}, "LAE     6553.5"}});
}

TEST(BarFrame, LabelsOneGridStepPerTenDecibels) {
  Canvas canvas(kPanelWidthUnits, kPanelHeightUnits);
  const auto labels = [&](double top, double bottom) {
    canvas.Clear();
    ReInit(canvas, top, bottom, "A", "C");
    return StringsOf(canvas, [](const TextItem& t) { return t.at.x == 5; });
  };
  EXPECT_EQ(labels(130, 40), (std::vector<std::string>{"40", "50", "60", "70", "80", "90", "100",
                                                       "110", "120", "130"}));
  EXPECT_EQ(labels(100, 20),
            (std::vector<std::string>{"20", "30", "40", "50", "60", "70", "80", "90", "100"}));
  ExpectTexts(canvas, {{{5, 19}, "100"}, {{50, 93}, "16"}, {{540, 93}, "C"}});
  EXPECT_TRUE(OnlyText(canvas, "A").font.bold);
  EXPECT_TRUE(HasLine(canvas, {30, 90 - 70.0 * 3 / 8}, {555, 90 - 70.0 * 3 / 8}));
}

TEST(OctaveBarScreen, BandLevelsStandOnTheRangeBottomAndModeThreeDrawsOctavesFirst) {
  const Canvas octaves = Drawn(Reply{}.Set(4, 1).Set(18, 130).SetLevel(45, 450));
  EXPECT_TRUE(HasBox(octaves, {40, 55}, {70, 90}, ConsoleColor(9)));
  ExpectTexts(octaves, {{{0, 6}, "1/1 OCT"}});
  Reply reply;
  for (std::size_t pair = 45; pair < 133; pair += 2) {
    reply.SetLevel(pair, 400);
  }
  const auto bars = ItemsOf<BoxItem>(Drawn(reply.Set(4, 3).Set(18, 100)),
                                     [](const BoxItem& b) { return b.corner2.y == 90; });
  ASSERT_EQ(bars.size(), 44U);
  EXPECT_TRUE(std::all_of(bars.begin(), bars.begin() + 11,
                          [](const BoxItem& b) { return b.fill == kWhite; }));
  EXPECT_EQ(bars[11].fill, ConsoleColor(10));
  EXPECT_EQ(bars[12].fill, ConsoleColor(11));
}

TEST(OctaveBarScreen, CursorStandsOnTheSelectedBandWhoseReadoutsShowZeroAsANumber) {
  const auto on_cursor = [](const LineItem& l) {
    return l.pen == Pen{BgrColor(0x0000FF), LineStyle::Dotted, 1} && l.from.y == 18;
  };
  for (const auto& [mode, band, x] :
       {std::tuple<std::uint8_t, std::uint8_t, double>{1, 7, 95}, {2, 7, 135}, {3, 32, 465}}) {
    const auto cursor = ItemsOf<LineItem>(Drawn(Reply{}.Set(4, mode).Set(22, band)), on_cursor);
    ASSERT_FALSE(cursor.empty()) << "mode " << int{mode};
    EXPECT_EQ(cursor[0].from.x, x) << "mode " << int{mode};
  }
  const Canvas one = Drawn(Reply{}.Set(4, 1).Set(22, 7));
  ExpectTexts(one, {{{255, 105}, "31.5Hz"}, {{360, 105}, "  0.0"}});
  ExpectTexts(one, {{{360, 98}, "  0.0"}, {{360, 112}, "  0.0"}});
  EXPECT_TRUE(HasBox(one, {358, 105}, {393, 108}, kBlack));
  const Canvas both = Drawn(Reply{}.Set(4, 3).Set(22, 19).SetLevel(157, 725));
  ExpectTexts(both, {{{125, 103}, "1/1 OCT"}, {{255, 107}, "1kHz"}, {{360, 107}, " 72.5"}});

  const Canvas over = Drawn(Reply{}.Set(4, 2).Set(18, 100).SetLevel(25, 1010));
  ExpectTexts(over, {{{522, 15}, "Over"}});  // the all-pass level
  EXPECT_TRUE(HasBox(over, {480, 20}, {510, 90}, ConsoleColor(9)));
  ExpectTexts(Drawn(Reply{}.Set(4, 2).Set(18, 100)), {{{522, 88}, "Under"}});
}

constexpr auto kIsBlackBlank = [](const TextItem& t) {
  return t.text == "---.-" && t.color == kBlack;
};

TEST(OctaveTables, BlankTheOuterBandsInBlackAndListTheRest) {
  const auto table = [](std::uint8_t mode) {  // every band pair at 93.5 dB
    Reply reply;
    for (std::size_t pair = 45; pair < 133; pair += 2) {
      reply.SetLevel(pair, 935);
    }
    return Drawn(reply.Set(4, mode).SetLevel(159, 1002), DrawOctaveTableScreen);
  };
  for (const auto& [mode, blanks, levels] :
       {std::tuple<std::uint8_t, std::size_t, std::size_t>{4, 2, 9}, {5, 6, 27}, {6, 8, 27 + 9}}) {
    const Canvas canvas = table(mode);
    EXPECT_EQ(ItemsOf<TextItem>(canvas, kIsBlackBlank).size(), blanks) << "mode " << int{mode};
    EXPECT_EQ(Texts(canvas, " 93.5").size(), levels) << "mode " << int{mode};
  }
  constexpr double kPitch = 90.0 / 13;
  const Canvas octaves = table(4);
  ExpectTexts(octaves, {{{316, 13}, "---.-"}, {{316, 110}, "100.2"}, {{140, 13}, "LAF"}});
  EXPECT_TRUE(HasBox(octaves, {315, 13}, {380, 19}, kBlack));
  ExpectTexts(octaves, {{{200, 28}, "   16  Hz"}, {{330, 28}, "---.-"}});
  ExpectTexts(octaves, {{{330, 28 + 10 * kPitch}, "---.-"}});
  EXPECT_EQ(Texts(octaves, "---.-").size(), 3U) << "two unmeasured bands, the main all-pass";
  EXPECT_EQ(Texts(octaves, " 93.5")[0].color, kYellow);
  EXPECT_TRUE(HasBox(octaves, {329, 27 + kPitch}, {375, 33 + kPitch}, kBlack));
  ExpectTexts(table(5), {{{0, 6}, "1/3 OCT"}, {{200, 28}, "  160  Hz"}});
  ExpectTexts(table(5), {{{380, 28 + 10 * kPitch}, "  20k  Hz"}});
  const Canvas both = table(6);  // the 16 Hz and 31.5 Hz octaves beside their centre bands
  ExpectTexts(both, {{{120, 30 + kPitch}, "---.-"}, {{120, 30 + 4 * kPitch}, " 93.5"}});
  ExpectTexts(both, {{{451, 22}, "1/3OCT(dB)"}});
  EXPECT_TRUE(HasBox(both, {387, 22}, {560, 24}, ConsoleColor(10)));
}

constexpr auto kIsBar = [](const BoxItem& b) {
  return b.fill == kWhite || b.fill == ConsoleColor(9) || b.fill == ConsoleColor(10);
};

TEST(UntrustedReply, EmptyRangeKeepsFramesAndLabelsButNoDivisionsOrBars) {
  const Canvas slm = Drawn(Reply{}.Set(18, 20).SetLevel(45, 500));
  ExpectTexts(slm, {{{25, 16}, "20"}, {{525, 16}, "20"}});
  EXPECT_TRUE(HasLine(slm, {29, 19}, {531, 19}));
  EXPECT_TRUE(ItemsOf<LineItem>(slm, kIsSlmTick).empty() && ItemsOf<BoxItem>(slm, kIsBar).empty());
  EXPECT_TRUE(Texts(slm, "OV").empty());
  const Canvas bars =
      Drawn(Reply{}.Set(4, 3).Set(18, 10).SetLevel(25, 600).SetLevel(45, 300).SetLevel(67, 300));
  EXPECT_TRUE(AllCoordinatesFinite(bars));
  ExpectTexts(bars, {{{25, 14}, "dB"}, {{450, 93}, "16k"}, {{490, 93}, "A"}, {{540, 93}, "A"}});
  EXPECT_TRUE(HasLine(bars, {29, 90.4}, {554, 90.4}));
  EXPECT_FALSE(HasLine(bars, {30, 20}, {555, 20}));  // no grid line
  EXPECT_TRUE(ItemsOf<BoxItem>(bars, kIsBar).empty());
  EXPECT_TRUE(Texts(bars, "Over").empty() && Texts(bars, "Under").empty());
}

TEST(UntrustedReply, OutOfTableIndicesDrawNoLabelAndOnlyFiniteCoordinates) {
  for (const auto& [mode, cursor] :
       {std::pair<std::uint8_t, std::uint8_t>{1, 0}, {1, 36}, {2, 34}, {2, 255}, {3, 200}}) {
    for (const TextItem& text : ItemsOf<TextItem>(Drawn(Reply{}.Set(4, mode).Set(22, cursor)))) {
      EXPECT_EQ(text.text.find("Hz"), std::string::npos)
          << "mode " << int{mode} << " cursor " << int{cursor} << ": " << text.text;
    }
  }
  ExpectTexts(Drawn(Reply{}.Set(4, 2).Set(22, 33)), {{{255, 105}, "APHz"}});
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
}  // namespace halvane::testing
