#include "records/record_file_output.h"
#include "records/concat.h"

#include "records/atomic_file.h"

namespace halvane {

bool RecordFileOutput::WriteAndOpen(std::string_view text, QWidget& window) const {
  if (const std::optional<std::string> failure = WriteFileAtomically(path, text)) {
    dialogs.Report(*failure, window);
    return false;
  }
  if (!editor.Open(path)) {
    dialogs.Report(Concat({"No text editor could be started. The record file is ", path.string()}),
                   window);
  }
  return true;
}

}  // namespace halvane
