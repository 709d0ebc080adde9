#include "link/report_descriptor.h"

#include <algorithm>
#include <map>
#include <vector>

namespace halvane {

namespace {

enum ItemType : std::uint8_t { kMain = 0, kGlobal = 1 };
enum MainTag : std::uint8_t { kInput = 0x8, kOutput = 0x9, kCollection = 0xA };
enum GlobalTag : std::uint8_t {
  kUsagePage = 0x0,
  kReportSize = 0x7,
  kReportId = 0x8,
  kReportCount = 0x9,
  kPush = 0xA,
  kPop = 0xB,
};

constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::size_t kMaxPushDepth = 16;
// No report comes near this; sums stop growing here so that hostile counts cannot overflow.
constexpr std::uint64_t kBitsCeiling = std::uint64_t{1} << 32;

struct GlobalState {
  std::uint32_t usage_page = 0;
  std::uint32_t report_size = 0;
  std::uint32_t report_count = 0;
  std::uint32_t report_id = 0;
};

struct ReportBits {
  std::map<std::uint32_t, std::uint64_t> by_id;

  void Add(std::uint32_t id, std::uint64_t bits) {
    std::uint64_t& sum = by_id[id];
    sum = std::min(sum + bits, kBitsCeiling);
  }
  // Bytes of the longest report plus the report ID byte; 0 when there is no such report.
  std::size_t Length() const {
    std::uint64_t longest = 0;
    for (const auto& [id, bits] : by_id) {
      longest = std::max(longest, bits);
    }
    return by_id.empty() ? 0 : static_cast<std::size_t>((longest + 7) / 8 + 1);
  }
};

std::uint32_t LittleEndian(std::span<const std::uint8_t> bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = bytes.size(); i > 0; --i) {
    value = (value << 8) | bytes[i - 1];
  }
  return value;
}

}  // namespace

std::optional<ReportLayout> ParseReportDescriptor(std::span<const std::uint8_t> descriptor) {
  ReportLayout layout;
  bool collection_seen = false;
  GlobalState global;
  std::vector<GlobalState> pushed;
  ReportBits input;
  ReportBits output;

  std::size_t at = 0;
  while (at < descriptor.size()) {
    const std::uint8_t prefix = descriptor[at];
    if (prefix == kLongItemPrefix) {
      if (at + 1 >= descriptor.size()) {
        return std::nullopt;
      }
      at += 3 + std::size_t{descriptor[at + 1]};
      if (at > descriptor.size()) {
        return std::nullopt;
      }
      continue;
    }
    const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
    if (at + 1 + size > descriptor.size()) {
      return std::nullopt;
    }
    const std::uint32_t value = LittleEndian(descriptor.subspan(at + 1, size));
    const auto type = static_cast<std::uint8_t>((prefix >> 2) & 3);
    const auto tag = static_cast<std::uint8_t>(prefix >> 4);
    at += 1 + size;

    if (type == kGlobal) {
      switch (tag) {
        case kUsagePage:
          global.usage_page = value;
          break;
        case kReportSize:
          global.report_size = value;
          break;
        case kReportCount:
          global.report_count = value;
          break;
        case kReportId:
          global.report_id = value;
          layout.numbered = true;
          break;
        case kPush:
          if (pushed.size() == kMaxPushDepth) {
            return std::nullopt;
          }
          pushed.push_back(global);
          break;
        case kPop:
          if (pushed.empty()) {
            return std::nullopt;
          }
          global = pushed.back();
          pushed.pop_back();
          break;
        default:
          break;
      }
    } else if (type == kMain) {
      const std::uint64_t bits = std::uint64_t{global.report_size} * global.report_count;
      if (tag == kInput) {
        input.Add(global.report_id, bits);
      } else if (tag == kOutput) {
        output.Add(global.report_id, bits);
      } else if (tag == kCollection && !collection_seen) {
        collection_seen = true;
        layout.usage_page = static_cast<std::uint16_t>(global.usage_page);
      }
    }
  }
  layout.input_length = input.Length();
  layout.output_length = output.Length();
  return layout;
}

}  // namespace halvane
