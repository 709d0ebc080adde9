#pragma once
// Looks up what a display list holds, for the window tests.

#include <algorithm>
#include <string>
#include <vector>

#include "ui/canvas.h"

namespace halvane {

inline std::vector<std::string> TextsOf(const Canvas& canvas) {
  std::vector<std::string> texts;
  for (const DrawItem& item : canvas.Items()) {
    if (const auto* text = std::get_if<TextItem>(&item)) {
      texts.push_back(text->text);
    }
  }
  return texts;
}

inline bool HasText(const Canvas& canvas, const std::string& wanted) {
  const std::vector<std::string> texts = TextsOf(canvas);
  return std::find(texts.begin(), texts.end(), wanted) != texts.end();
}

}  // namespace halvane
