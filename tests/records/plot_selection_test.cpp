// The item list of every mode, the field each item reads, and reading an item over the records
// of files that hold what they state, fewer or more lines, or broken lines.

#include "records/plot_selection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "tests/file_text.h"
#include "tests/graphs/record_files.h"

namespace halvane {
namespace {

using ::testing::ElementsAre;

ItemColumn Read(const std::string& file, std::size_t field, std::uint64_t count) {
  std::istringstream in(file);
  return ReadItemColumn(in, field, count);
}

// Every entry of every mode, written out with the field it reads, reads its own column of a file
// of that mode, each column once. The combined list names the thirds first; the file holds the
// octaves first.
TEST(PlotSelection, ItemListsAndTheFieldEachEntryReadsInEveryMode) {
  std::string lists;
  for (const RecordMode mode : {RecordMode::Slm, RecordMode::Octave, RecordMode::ThirdOctave,
                                RecordMode::OctaveAndThirdOctave}) {
    const std::vector<std::string> entries = ItemEntries(mode);
    ASSERT_EQ(entries.size(), LevelColumnCount(mode) + 1);
    const std::string file = test::RecordFile(mode, 2, 2);
    std::set<std::string> read;
    for (std::size_t position = 0; position < entries.size(); ++position) {
      const std::optional<std::size_t> field = ItemField(mode, position);
      lists += std::string(RecordModeName(mode)) + "\t" + entries[position] + "\t" +
               (field ? std::to_string(*field) : "none") + "\n";
      if (field) {
        read.insert(Read(file, *field, 2).values.at(1));
      }
    }
    EXPECT_EQ(read.size(), LevelColumnCount(mode));
  }
  test::ExpectDataFile(lists, "records/item_lists.txt");
}

TEST(PlotSelection, ModeTextsChooseTheBandsAndTheNoItemEntries) {
  EXPECT_EQ(ItemListMode("1/1 & 1/3 OCTAVE"), RecordMode::OctaveAndThirdOctave);
  EXPECT_EQ(ItemListMode(" 1/1 OCTAVE "), RecordMode::Octave);
  EXPECT_EQ(ItemListMode("1/3 OCTAVE"), RecordMode::ThirdOctave);
  EXPECT_EQ(ItemListMode("SLM"), RecordMode::Slm);
  EXPECT_EQ(ItemListMode(""), RecordMode::Slm);
  EXPECT_THAT(NoItemEntries("SLM"), ElementsAre("Exit", "Item"));
  EXPECT_THAT(NoItemEntries("1/3 OCTAVE"), ElementsAre("Exit", "No.s", "Item"));
}

TEST(PlotSelection, ReadsWhatTheFileHoldsUpToTheStatedCount) {
  const std::string full = test::RecordFile(RecordMode::Octave, 3, 3);
  const ItemColumn column = Read(full, 13, 3);
  EXPECT_THAT(column.values, ElementsAre("  1.11", "  2.11", "  3.11"));
  EXPECT_THAT(column.date_times[1], "         00:00:00");

  // Fewer lines than stated, more lines than stated, and a count no file could hold.
  EXPECT_EQ(Read(test::RecordFile(RecordMode::Octave, 10, 3), 13, 10).values.size(), 3U);
  EXPECT_EQ(Read(test::RecordFile(RecordMode::Octave, 2, 5), 13, 2).values.size(), 2U);
  EXPECT_EQ(Read(full, 13, UINT64_MAX).values.size(), 3U);
  EXPECT_EQ(Read(full, 13, 0).values.size(), 0U);
  std::istringstream counted(full);
  EXPECT_EQ(CountRecordLines(counted, UINT64_MAX), 3U);

  // A line cut short, one without its final TAB, and a value that is not a number.
  std::string broken = test::RecordFile(RecordMode::Slm, 3, 0);
  broken += "           1\t         10:00:01\t  50.0\r\n";
  broken += "           2\t         10:00:02\t  51.0\t  52.0\r\n";
  broken += "           3\t         10:00:03\t ---.-\t\r\n";
  EXPECT_THAT(Read(broken, 4, 3).values, ElementsAre("", "  52.0", ""));
  EXPECT_THAT(Read(broken, 3, 3).values, ElementsAre("  50.0", "  51.0", " ---.-"));
  EXPECT_TRUE(Read("not a record file\r\n", 3, 5).values.empty());
}

}  // namespace
}  // namespace halvane
