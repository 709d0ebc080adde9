#include "sim/page_stream.h"

#include <algorithm>
#include <utility>

namespace halvane {

void PageStream::Start(Source source, std::size_t page_count) {
  source_ = std::move(source);
  next_offset_ = 0;
  pages_left_ = page_count;
}

void PageStream::Stop() {
  source_ = nullptr;
  pages_left_ = 0;
}

std::optional<InputReportBuffer> PageStream::Next(const MeterState& state) {
  if (pages_left_ == 0) {
    return std::nullopt;
  }
  InputReportBuffer page{};
  const std::span<const std::uint8_t> bytes = source_(state);
  if (next_offset_ < bytes.size()) {
    const auto piece =
        bytes.subspan(next_offset_, std::min(kPageBytes, bytes.size() - next_offset_));
    std::copy(piece.begin(), piece.end(), page.begin() + 1);
  }
  next_offset_ += kPageBytes;
  if (--pages_left_ == 0) {
    source_ = nullptr;
  }
  return page;
}

}  // namespace halvane
