#include "sim/command_table.h"

#include <utility>

namespace halvane {

void CommandContext::Answer(std::initializer_list<int> bytes) {
  InputReportBuffer reply{};
  std::size_t index = 1;
  for (const int byte : bytes) {
    reply[index++] = static_cast<std::uint8_t>(byte);
  }
  replies.push_back(reply);
}

void CommandTable::AddClass(std::uint8_t command_class, Handler handler) {
  class_handlers_[command_class] = std::move(handler);
}

void CommandTable::AddSubCommand(std::uint8_t command_class, std::uint8_t sub_command,
                                 Handler handler) {
  sub_command_handlers_[{command_class, sub_command}] = std::move(handler);
}

const CommandTable::Handler* CommandTable::Find(std::span<const std::uint8_t> report) const {
  if (report.size() < 2) {
    return nullptr;
  }
  if (const auto whole_class = class_handlers_.find(report[1]);
      whole_class != class_handlers_.end()) {
    return &whole_class->second;
  }
  if (report.size() < 3) {
    return nullptr;
  }
  const auto sub_command = sub_command_handlers_.find({report[1], report[2]});
  return sub_command != sub_command_handlers_.end() ? &sub_command->second : nullptr;
}

}  // namespace halvane
