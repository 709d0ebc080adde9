// Saves pictures of the windows over the simulated meter, on a screen of 1920 x 1080 pixels:
// the main window in each display mode and unplugged, its toolbar, each settings list open, the
// keypad, clock and comparator windows, the whole screen with all of them open, the message of a
// command that finds no meter; the SD set list, the caption halfway through a download, a record
// file as a text viewer shows it and the "Data Logger" window after a read of a full flash.
// Usage: halvane_screenshots DIR

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "control/clickable_label.h"
#include "control/comparator_window.h"
#include "control/control_panel.h"
#include "control/meter_controls.h"
#include "control/rtc_window.h"
#include "graphs/plot_selection_controls.h"
#include "link/usb.h"
#include "live/panel.h"
#include "records/logged_data_controls.h"
#include "sim/sample_logger_contents.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"
#include "tools/save_window.h"

namespace {

using halvane::tools::Save;

// The screen as a user would see it: every open window at its place, the last opened on top.
void SaveScreen(const QScreen& screen, const QDir& folder, const std::string& name) {
  QApplication::processEvents();
  QImage image(screen.geometry().size(), QImage::Format_RGB32);
  image.fill(QColor(60, 70, 80));
  QPainter painter(&image);
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible()) {
      painter.drawPixmap(window->geometry().topLeft(), window->grab());
    }
  }
  painter.end();
  image.save(folder.filePath(QString::fromStdString(name + ".png")));
}

void ClickLabel(QWidget& window, const char* name) {
  auto* label = window.findChild<halvane::ClickableLabel*>(name);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(label, &release);
}

class NoEditor : public halvane::TextEditorLauncher {
 public:
  bool Open(const std::filesystem::path&) override { return true; }
};

// Answers the open-file dialog with one file: the record file just downloaded.
class OpenOneFile : public halvane::QtUserDialogs {
 public:
  OpenOneFile(QWidget& parent, std::filesystem::path file)
      : QtUserDialogs(&parent), file_(std::move(file)) {}
  std::filesystem::path AskOpenFile(const std::string&, const std::filesystem::path&) override {
    return file_;
  }

 private:
  std::filesystem::path file_;
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
    std::fputs("usage: halvane_screenshots DIR\n", stderr);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" HALVANE_SCREEN);
  QApplication application(argc, argv);
  const QDir folder(argv[1]);
  folder.mkpath(".");

  halvane::SimulatedMeter meter;
  halvane::SimulatedBackend backend(meter);
  halvane::USB usb(backend);
  const QTemporaryDir temp_folder;
  halvane::Panel panel(usb, temp_folder.path().toStdString());
  halvane::QtUserDialogs dialogs(&panel);
  halvane::MeterControls controls(panel, usb, dialogs, [](int) {});
  panel.Timer1().stop();
  panel.show();
  auto poll = [&] {
    for (int tick = 0; tick < 30; ++tick) {
      panel.PollMeter();
    }
  };

  for (int mode = 0; mode <= 8; ++mode) {
    meter.State().display_mode = mode;
    poll();
    Save(panel, folder, "mode" + std::to_string(mode));
  }
  meter.State().display_mode = 0;
  Save(panel.Toolbar1(), folder, "toolbar");
  for (const char* key : {"RecMode", "Storage", "BackLight", "AC", "FS"}) {
    controls.Toolbar().Click(key);
    poll();
    Save(panel, folder, std::string("list-") + key);
  }
  controls.Toolbar().Click("Trigger");
  panel.Lists().ComboTrigger->setCurrentText("Trigger Level1");
  emit panel.Lists().ComboTrigger->activated(1);
  poll();
  Save(panel, folder, "list-Trigger");
  panel.Lists().PicTriggerdB->hide();
  panel.Timer1().stop();

  const halvane::ControlContext& context = controls.Context();
  Save(halvane::ControlPanel::Open(panel, context), folder, "keypad");
  halvane::Comparator* comparator = halvane::OpenComparator(panel, context);
  panel.Timer1().stop();
  if (comparator != nullptr) {
    Save(*comparator, folder, "comparator");
  }

  halvane::RTC clock(context, &panel);
  clock.show();
  Save(clock, folder, "clock-closed-labels");
  ClickLabel(clock, "LblMeterTime");
  ClickLabel(clock, "LblPCTime");
  clock.Tick();
  Save(clock, folder, "clock");
  SaveScreen(*panel.screen(), folder, "screen-tool-windows");

  backend.Unplug();
  poll();
  Save(panel, folder, "no-connection");
  QMessageBox no_meter(QMessageBox::Critical, halvane::kProgramTitle,
                       QString::fromUtf8(halvane::kMeterNotConnectedMessage.data(),
                                         halvane::kMeterNotConnectedMessage.size()),
                       QMessageBox::Ok, &panel);
  no_meter.show();
  Save(no_meter, folder, "no-meter-message");
  no_meter.hide();
  backend.Replug();
  poll();

  NoEditor editor;
  halvane::LoggedDataControls logged(controls.Context(), panel, controls.Toolbar(), editor,
                                     temp_folder.filePath("records").toStdString());
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

  emit sets->activated(sets->findText("Exit"));
  OpenOneFile open_download(panel, panel.TempFilePath());
  halvane::PlotSelectionControls plot(panel, controls.Toolbar(), open_download, editor,
                                      temp_folder.filePath("records").toStdString());
  plot.PlotFromFile();
  Save(panel, folder, "plot-lists");
  QComboBox* no_item = panel.Lists().ComboNoItem;
  const int item = no_item->findText("Item");
  no_item->setCurrentIndex(item);
  emit no_item->activated(item);
  Save(panel, folder, "plot-item-list");

  meter.State().flash_image = halvane::FullFlashImage();
  controls.Toolbar().Click("Memory");
  panel.Timer1().stop();
  if (halvane::Memory* window = logged.FlashMemory().Window()) {
    Save(*window, folder, "data-logger-full-flash");
  }

  return 0;
}
