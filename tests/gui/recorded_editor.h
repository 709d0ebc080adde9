#pragma once
// A text editor that only records which files it was asked to show.

#include <filesystem>
#include <vector>

#include "ui/text_editor_launcher.h"

namespace halvane {

class RecordedEditor : public TextEditorLauncher {
 public:
  bool Open(const std::filesystem::path& file) override {
    opened.push_back(file);
    return true;
  }
  std::vector<std::filesystem::path> opened;
};

}  // namespace halvane
