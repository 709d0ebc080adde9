#pragma once
// The "Memory" button: reads the whole used flash area, walks it and lists its records in the
// data-logger window, which replaces any earlier one.

#include <QPointer>

#include "control/control_context.h"
#include "live/panel.h"
#include "records/memory_window.h"

namespace halvane {

class FlashMemoryCommand {
 public:
  FlashMemoryCommand(ControlContext context, Panel& panel, RecordFileOutput output);

  void ReadFlashMemory();
  // The window of the last read while it is open (`LoggerWindowOpen`).
  Memory* Window() const { return memory_; }

 private:
  ControlContext context_;
  Panel& panel_;
  RecordFileOutput output_;
  QPointer<Memory> memory_;
};

}  // namespace halvane
