#include "records/flash_memory_command.h"

#include "control/poll_pause.h"
#include "records/transfers.h"
#include "ui/transfer_gate.h"

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
  memory_ = new Memory(output_, panel_);
  memory_->show();
  LoggerRead read;
  {
    TransferGate gate(panel_);
    // The window may be closed while pages arrive; the read then goes on without it.
    read = ReadLoggerImage(context_.usb, size.used_size,
                           [this, &gate](std::uint64_t page, std::uint64_t pages) {
                             if (memory_) {
                               memory_->MBar().setValue(static_cast<int>(100 * page / pages));
                             }
                             return gate.Repaint();
                           });
    if (gate.MainWindowClosed()) {
      delete memory_;
      return;
    }
  }
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
