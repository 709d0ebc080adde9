#pragma once
// Reads a text line by line whatever ends its lines: LF, CR LF, or CR alone as old Mac editors
// write them. A UTF-8 byte-order mark before the first line is taken off and noted. A line
// longer than kMaxLineLength ends the reading, so that what reading costs follows the bytes a
// text holds and never runs away on one without line ends (/dev/zero).

#include <istream>
#include <memory>
#include <string>

namespace halvane {

class TextLineReader {
 public:
  static constexpr std::size_t kMaxLineLength = 65536;

  // Reads ahead of the lines it returns: `in` is not to be read otherwise while this reads it.
  explicit TextLineReader(std::istream& in);

  // The next line, without its end; false at the end of the text or at an over-long line.
  bool Next(std::string& line);

  // The reading stopped at a line longer than kMaxLineLength.
  bool StoppedAtLongLine() const { return stopped_at_long_line_; }
  // The text began with a UTF-8 byte-order mark: it is UTF-8, not 8-bit text.
  bool Utf8() const { return utf8_; }

 private:
  // Takes the next piece of the text into the chunk; false at its end.
  bool Refill();

  std::istream& in_;
  std::unique_ptr<char[]> chunk_;  // not cleared: only what a read filled is looked at
  std::size_t position_ = 0;
  std::size_t end_ = 0;
  bool after_cr_ = false;  // an LF that follows is the second half of a CR LF
  bool ended_ = false;
  bool stopped_at_long_line_ = false;
  bool utf8_ = false;
  bool first_line_ = true;
};

}  // namespace halvane
