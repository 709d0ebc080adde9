#include "link/report_descriptor.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/file_text.h"

namespace halvane {
namespace {

std::string LayoutText(const std::optional<ReportLayout>& layout) {
  if (!layout) {
    return "refused";
  }
  std::ostringstream text;
  text << layout->input_length << " in, " << layout->output_length << " out, "
       << (layout->numbered ? "numbered" : "unnumbered") << ", page " << std::hex
       << layout->usage_page;
  return text.str();
}

// Descriptors as devices of each kind send them, one a line in the data file: the layout they
// give, then their bytes in hex after "|".
TEST(ReportDescriptorTest, LongestReportsNumberingAndPageOrRefusal) {
  std::string layouts;
  for (const std::string& line : test::TextLines(test::DataText("link/report_descriptors.txt"))) {
    const std::size_t bar = line.find('|');
    std::vector<std::uint8_t> bytes;
    std::istringstream hex(line.substr(bar + 1));
    for (unsigned byte = 0; bar != std::string::npos && hex >> std::hex >> byte;) {
      bytes.push_back(static_cast<std::uint8_t>(byte));
    }
    layouts += bar == std::string::npos
                   ? line + "\n"
                   : LayoutText(ParseReportDescriptor(bytes)) + " " + line.substr(bar) + "\n";
  }
  test::ExpectDataFile(layouts, "link/report_descriptors.txt");
}

}  // namespace
}  // namespace halvane
