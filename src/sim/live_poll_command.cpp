#include "sim/live_poll_command.h"

#include "sim/calendar_time.h"
#include "sim/comparator_output.h"
#include "sim/live_reply_builder.h"

namespace halvane {

void AddLivePollCommand(CommandTable& table) {
  table.AddClass(kLivePollCommandClass, [](std::span<const std::uint8_t>, CommandContext& context) {
    const LiveLevels& levels = context.levels.Step(context.state);
    context.state.comparator_output = ComparatorOutput(context.state, levels);
    const CalendarTime meter_time = CalendarTimeAt(context.MeterTime());
    context.replies.push_back(BuildLiveReply(context.state, levels, meter_time));
  });
}

}  // namespace halvane
