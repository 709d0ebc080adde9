#include "text/text_lines.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace halvane {

namespace {

constexpr std::size_t kChunkBytes = 4096;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

TextLineReader::TextLineReader(std::istream& in)
    : in_(in), chunk_(std::make_unique_for_overwrite<char[]>(kChunkBytes)) {}

bool TextLineReader::Refill() {
  if (ended_) {
    return false;
  }
  position_ = 0;
  end_ = static_cast<std::size_t>(in_.rdbuf()->sgetn(chunk_.get(), kChunkBytes));
  ended_ = end_ == 0;
  return !ended_;
}

bool TextLineReader::Next(std::string& line) {
  line.clear();
  if (after_cr_ && (position_ < end_ || Refill()) && chunk_[position_] == '\n') {
    ++position_;
  }
  after_cr_ = false;
  bool any = false;
  while (position_ < end_ || Refill()) {
    any = true;
    const char* begin = chunk_.get() + position_;
    const char* stop = chunk_.get() + end_;
    const char* found = std::find_if(begin, stop, [](char c) { return c == '\n' || c == '\r'; });
    const auto piece = static_cast<std::size_t>(found - begin);
    if (line.size() + piece > kMaxLineLength) {
      stopped_at_long_line_ = ended_ = true;
      position_ = end_ = 0;
      line.clear();
      return false;
    }
    line.append(begin, piece);
    position_ += piece;
    if (found != stop) {
      ++position_;
      after_cr_ = *found == '\r';
      break;
    }
  }
  if (!any) {
    return false;
  }
  if (std::exchange(first_line_, false) && line.starts_with(kUtf8ByteOrderMark)) {
    line.erase(0, kUtf8ByteOrderMark.size());
    utf8_ = true;
  }
  return true;
}

}  // namespace halvane
