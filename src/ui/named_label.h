#pragma once
// A label that carries its control name, as every window's labels do.

#include <QLabel>

namespace halvane {

inline QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

}  // namespace halvane
