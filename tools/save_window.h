#pragma once
// Saves a window's picture as DIR/NAME.png once pending events have drawn it.

#include <QApplication>
#include <QDir>
#include <QWidget>
#include <cstdio>
#include <string>

namespace halvane::tools {

inline void Save(QWidget& window, const QDir& folder, const std::string& name) {
  QApplication::processEvents();
  const QString path = folder.filePath(QString::fromStdString(name + ".png"));
  if (!window.grab().save(path)) {
    std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
  }
}

}  // namespace halvane::tools
