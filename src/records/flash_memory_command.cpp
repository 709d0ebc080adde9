#include "records/flash_memory_command.h"

#include "control/poll_pause.h"
#include "records/transfers.h"

namespace halvane {

FlashMemoryCommand::FlashMemoryCommand(ControlContext context, Panel& panel,
                                       RecordFileOutput output)
    : context_(std::move(context)), panel_(panel), output_(std::move(output)) {}

void FlashMemoryCommand::ReadFlashMemory() {
  if (panel_.RecordingImageShown()) {
    return;
  }
  PollPause poll_pause(context_.timer1);
  const LoggerSize size = QueryLoggerSize(context_.usb);
  if (!size.error.empty()) {
    context_.dialogs.ShowCritical(size.error);
    return;
  }
  delete memory_;
  memory_ = new Memory(output_, &panel_);
  memory_->show();
  int shown = -1;
  // The window may be closed while pages arrive; the read then goes on without it.
  LoggerRead read = ReadLoggerImage(context_.usb, size.used_size,
                                    [this, &shown](std::uint64_t page, std::uint64_t pages) {
                                      const auto percent = static_cast<int>(100 * page / pages);
                                      if (percent != shown && memory_) {
                                        shown = percent;
                                        memory_->MBar().setValue(percent);
                                        LetWindowsRepaint();
                                      }
                                    });
  if (!read.error.empty()) {
    delete memory_;
    context_.dialogs.ShowCritical(read.error);
    return;
  }
  if (memory_) {
    LoggerRecordTable table = WalkLoggerImage(read.image, size.used_size);
    memory_->ShowRecords(std::move(read.image), std::move(table), size.used_size);
  }
}

}  // namespace halvane
