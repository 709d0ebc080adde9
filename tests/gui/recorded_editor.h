#pragma once
// A text editor that only records which files it was asked to show, and starts unless told
// there is none.

#include <filesystem>
#include <vector>

#include "ui/text_editor_launcher.h"

namespace halvane {

class RecordedEditor : public TextEditorLauncher {
 public:
  bool Open(const std::filesystem::path& file) override {
    opened.push_back(file);
    return starts;
  }
  std::vector<std::filesystem::path> opened;
  bool starts = true;
};

}  // namespace halvane
