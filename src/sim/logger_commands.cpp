#include "sim/logger_commands.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <string>

#include "sim/sd_set_text.h"

namespace halvane {

namespace {

constexpr std::uint8_t kCardDirectory = 0x01;
constexpr std::uint8_t kFlash = 0x04;
constexpr std::uint8_t kCardEntry = 0x06;
constexpr std::uint8_t kWholeTransfer = 0x01;

std::span<const std::uint8_t> BytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The set held under entry `entry` (from 1); null when the entry is empty or not on the card.
const std::string* CardSet(const MeterState& state, std::size_t entry) {
  if (entry < 1 || entry > state.sd_entries.size() || !state.sd_entries[entry - 1]) {
    return nullptr;
  }
  return &*state.sd_entries[entry - 1];
}

void AnswerCardEntry(std::span<const std::uint8_t> report, CommandContext& context) {
  const std::size_t entry = ReportByte(report, 3) * 256u + ReportByte(report, 4);
  const std::string* set = CardSet(context.state, entry);
  if (set == nullptr) {
    context.Answer({0x45, 0, 0, 0, 0, 0, 0, 0, 0, 0x64});
    return;
  }
  // The pages of the whole set, by its length field; the exchange that asks for them reads the
  // first one even from a set too short to have one.
  const std::size_t pages =
      ReportByte(report, 5) == kWholeTransfer
          ? std::max<std::size_t>(1, PageStream::PagesFor(SdSetLengthField(*set)))
          : 1;
  context.pages.Start(
      [entry](const MeterState& state) {
        const std::string* now = CardSet(state, entry);
        return now != nullptr ? BytesOf(*now) : std::span<const std::uint8_t>{};
      },
      pages);
}

void AnswerFlash(std::span<const std::uint8_t> report, CommandContext& context) {
  if (ReportByte(report, 3) != 0x00 || ReportByte(report, 4) != 0x01) {
    context.Acknowledge();
    return;
  }
  const std::size_t size = context.state.flash_image.size();
  if (ReportByte(report, 5) != kWholeTransfer) {
    context.Answer({0, 0, int(size >> 24 & 0xFF), int(size >> 16 & 0xFF), int(size >> 8 & 0xFF),
                    int(size & 0xFF)});
    return;
  }
  context.pages.Start(
      [](const MeterState& state) { return std::span<const std::uint8_t>(state.flash_image); },
      PageStream::PagesFor(size));
}

}  // namespace

void AddLoggerCommands(CommandTable& table) {
  table.AddSubCommand(
      kLoggerCommandClass, kCardDirectory,
      [](std::span<const std::uint8_t>, CommandContext& context) {
        const std::size_t entries = std::min<std::size_t>(context.state.sd_entries.size(), 0xFFFF);
        context.Answer({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, int(entries >> 8), int(entries & 0xFF)});
      });
  table.AddSubCommand(kLoggerCommandClass, kCardEntry, AnswerCardEntry);
  table.AddSubCommand(kLoggerCommandClass, kFlash, AnswerFlash);
}

}  // namespace halvane
