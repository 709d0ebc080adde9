#include "records/record_file_output.h"
#include "records/concat.h"

#include <QCoreApplication>

#include "records/atomic_file.h"

namespace halvane {

bool RecordFileOutput::WriteAndOpen(std::string_view text) const {
  if (const std::optional<std::string> failure = WriteFileAtomically(path, text)) {
    dialogs.ShowCritical(*failure);
    return false;
  }
  if (!editor.Open(path)) {
    dialogs.ShowCritical(
        Concat({"No text editor could be started. The record file is ", path.string()}));
  }
  return true;
}

void LetWindowsRepaint() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace halvane
