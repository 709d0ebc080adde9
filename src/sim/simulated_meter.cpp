#include "sim/simulated_meter.h"

#include <utility>

#include "sim/calendar_time.h"
#include "sim/clock_commands.h"
#include "sim/key_commands.h"
#include "sim/live_poll_command.h"
#include "sim/logger_commands.h"
#include "sim/sample_logger_contents.h"
#include "sim/setting_commands.h"

namespace halvane {

SimulatedMeter::SimulatedMeter(std::uint32_t seed, WallClock wall_clock)
    : wall_clock_(std::move(wall_clock)), levels_(seed) {
  if (!wall_clock_) {
    wall_clock_ = [] { return std::chrono::system_clock::now(); };
    state_.clock_offset = LocalTimeOffset(wall_clock_());
  }
  last_report_time_ = wall_clock_();
  state_.sd_entries = SampleSdCard();
  state_.flash_image = SampleFlashImage();
  AddLivePollCommand(commands_);
  AddKeyCommands(commands_);
  AddSettingCommands(commands_);
  AddClockCommands(commands_);
  AddLoggerCommands(commands_);
}

void SimulatedMeter::Receive(std::span<const std::uint8_t> output_report) {
  if (keep_received_) {
    received_.emplace_back(output_report.begin(), output_report.end());
  }
  const auto now = wall_clock_();
  AdvanceMeasurementTime(now);
  pages_.Stop();  // a new command ends a transfer under way
  if (const CommandTable::Handler* handler = commands_.Find(output_report)) {
    CommandContext context{state_, levels_, now, replies_, pages_};
    (*handler)(output_report, context);
  } else {
    replies_.push_back(InputReportBuffer{});  // unknown commands are acknowledged with zeros
  }
}

std::optional<InputReportBuffer> SimulatedMeter::TakeReply() {
  if (replies_.empty()) {
    return pages_.Next(state_);
  }
  InputReportBuffer reply = replies_.front();
  replies_.pop_front();
  return reply;
}

void SimulatedMeter::DiscardReplies() {
  replies_.clear();
  pages_.Stop();
}

void SimulatedMeter::AdvanceMeasurementTime(std::chrono::system_clock::time_point now) {
  if (state_.recording && !state_.paused && now > last_report_time_) {
    state_.measurement_time +=
        std::chrono::duration_cast<std::chrono::milliseconds>(now - last_report_time_);
  }
  last_report_time_ = now;
}

}  // namespace halvane
