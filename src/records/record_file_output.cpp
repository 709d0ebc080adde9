#include "records/record_file_output.h"
#include "records/concat.h"

#include "records/atomic_file.h"

namespace halvane {

bool RecordFileOutput::WriteAndOpen(std::string_view text, QWidget& window,
                                    const std::string& kept_name) const {
  if (const std::optional<std::string> failure = WriteFileAtomically(path, text)) {
    dialogs.Report(*failure, window);
    return false;
  }
  if (!records_folder.empty()) {
    std::error_code ignored;
    std::filesystem::create_directories(records_folder, ignored);
    const std::filesystem::path kept = records_folder / kept_name;
    if (const std::optional<std::string> failure = WriteFileAtomically(kept, text)) {
      dialogs.Report(*failure, window);
    } else if (show_kept) {
      show_kept(kept);
    }
  }
  if (!editor.Open(path)) {
    dialogs.Report(Concat({"No text editor could be started. The record file is ", path.string()}),
                   window);
  }
  return true;
}

}  // namespace halvane
