// Numbers read and written under a comma-decimal locale, lines whatever ends them, and 8-bit
// text as UTF-8.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "text/latin1.h"
#include "text/number_text.h"
#include "text/text_lines.h"

namespace halvane {
namespace {

TEST(NumberText, ReadsAndWritesWithAPointWhateverTheLocale) {
  const double inf = INFINITY;
  for (const auto& [text, number] : {std::pair{" 1 2 ", 12.0},
                                     {"85dB", 85.0},
                                     {"7.5x", 7.5},
                                     {"6 5 . 3", 65.3},
                                     {"65,3", 65.0},
                                     {"+.5", 0.5},
                                     {"inf", 0.0},
                                     {".", 0.0},
                                     {"3e", 3.0},
                                     {"9e999", inf},
                                     {"-0.5e400", -inf},
                                     {"1e-999", 0.0}}) {
    EXPECT_EQ(ReadNumber(text), number) << text;
  }
  EXPECT_EQ(ReadWholeNumber(" 65.3 "), 65.3);
  EXPECT_FALSE(ReadWholeNumber("65,3"));
  EXPECT_FALSE(ReadWholeNumber("2x"));
  EXPECT_EQ(FixedPointText(67.94, 1), "67.9");
  EXPECT_EQ(TwoDigitDecimal(5) + TwoDigitDecimal(123) + TwoDigitHex(0x0A) + TwoDigitHex(0x45),
            "05230A45");
}

TEST(TextLines, AnyLineEndByteOrderMarkAndLongLines) {
  const std::string long_line(TextLineReader::kMaxLineLength, 'x');
  const std::string chunk_end(4095, 'y');  // its CR ends one chunk, the LF begins the next
  struct Case {
    std::string text;
    std::vector<std::string> lines;
    bool utf8 = false;
    bool stopped = false;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r\rc", {"a", "b", "", "c"}},
      {"a\n\nb", {"a", "", "b"}},
      {"\xEF\xBB\xBFStart\r\n\xEF\xBB\xBF", {"Start", "\xEF\xBB\xBF"}, true},
      {chunk_end + "\r\nz", {chunk_end, "z"}},
      {long_line + "\n", {long_line}},
      {"a\n" + long_line + "x\nb", {"a"}, false, true},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.text);
    TextLineReader reader(in);
    std::vector<std::string> lines;
    for (std::string line; reader.Next(line);) {
      lines.push_back(line);
    }
    EXPECT_EQ(lines, c.lines) << c.text.substr(0, 20);
    EXPECT_EQ(reader.Utf8(), c.utf8);
    EXPECT_EQ(reader.StoppedAtLongLine(), c.stopped);
  }
  EXPECT_EQ(Latin1ToUtf8("\xB0 \xFF"), "\u00B0 \u00FF");
}

}  // namespace
}  // namespace halvane
