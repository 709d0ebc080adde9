// Saves pictures of the logged-data windows over the simulated meter: the set list open, the
// main window halfway through a download with its caption, the "Data Logger" window after a
// read of a full flash, and a record file as a text viewer shows it.
// Usage: halvane_logged_data_screenshots DIR

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdio>

#include "control/meter_controls.h"
#include "live/panel.h"
#include "records/logged_data_controls.h"
#include "sim/sample_logger_contents.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"
#include "tools/save_window.h"

namespace {

using halvane::tools::Save;

class NoEditor : public halvane::TextEditorLauncher {
 public:
  bool Open(const std::filesystem::path&) override { return true; }
};

// Keeps the first picture of the window whose caption shows at least half of a download done,
// with the caption drawn above it as the title bar would show it.
class HalfwayCaption : public QObject {
 public:
  explicit HalfwayCaption(QWidget& window) : window_(window) { window.installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    const QString title = window_.windowTitle();
    if (event->type() == QEvent::WindowTitleChange && picture.isNull() &&
        title.endsWith("% Completed") && title.section('%', 0, 0).toDouble() >= 50) {
      const QPixmap body = window_.grab();
      picture = QImage(body.width(), body.height() + 28, QImage::Format_RGB32);
      picture.fill(QColor(220, 225, 235));
      QPainter painter(&picture);
      painter.drawText(QRect(8, 0, body.width(), 28), Qt::AlignVCenter, title);
      painter.drawPixmap(0, 28, body);
    }
    return false;
  }
  QImage picture;

 private:
  QWidget& window_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: halvane_logged_data_screenshots DIR\n", stderr);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" HALVANE_SCREEN);
  QApplication application(argc, argv);
  const QDir folder(argv[1]);
  folder.mkpath(".");

  halvane::SimulatedMeter meter;
  meter.State().flash_image = halvane::FullFlashImage();
  halvane::SimulatedBackend backend(meter);
  backend.SetWait([](int) {});
  halvane::USB usb(backend);
  const QTemporaryDir temp_folder;
  halvane::Panel panel(usb, temp_folder.path().toStdString());
  halvane::QtUserDialogs dialogs(&panel);
  halvane::MeterControls controls(panel, usb, dialogs, [](int) {});
  NoEditor editor;
  halvane::LoggedDataControls logged(controls.Context(), panel, controls.Toolbar(), editor);
  panel.Timer1().stop();
  panel.show();
  panel.PollMeter();

  controls.Toolbar().Click("SD");
  panel.Timer1().stop();
  Save(panel, folder, "sd-sets-list");
  HalfwayCaption caption(panel);
  QComboBox* sets = panel.Lists().ComboSets;
  sets->setCurrentIndex(3);
  emit sets->activated(3);
  panel.Timer1().stop();
  caption.picture.save(folder.filePath("sd-download-caption.png"));

  QFile file(QString::fromStdString(panel.TempFilePath().string()));
  file.open(QIODevice::ReadOnly);
  QPlainTextEdit viewer;
  viewer.setWindowTitle("Halvane.tmp");
  viewer.setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono("Liberation Mono", 9);
  viewer.setFont(mono);
  viewer.setTabStopDistance(8 * QFontMetricsF(mono).horizontalAdvance(' '));
  viewer.setPlainText(QString::fromLatin1(file.readAll()));
  viewer.resize(1400, 500);
  viewer.show();
  Save(viewer, folder, "record-file");

  controls.Toolbar().Click("Memory");
  panel.Timer1().stop();
  if (halvane::Memory* window = logged.FlashMemory().Window()) {
    Save(*window, folder, "data-logger-full-flash");
  }
  return 0;
}
