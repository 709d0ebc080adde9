// Runs the main window offscreen over the meter its options choose, for the test of the real
// device path: lets the poll timer run for N polls, then writes to DIR
// - polls.txt: a line per poll: its number, "live" or "no-connection", LblName's caption, the
//   the no-connection reason on the status line ("-" when hidden), and the other windows open;
// - screen-K.txt: the display list of the K-th answered poll, an item a line.
// Usage: halvane_panel_probe [meter options] --polls N DIR

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/device_link.h"
#include "app/options.h"
#include "link/usb.h"
#include "live/panel.h"
#include "records/atomic_file.h"

namespace {

std::string Number(double value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string ColorText(halvane::Color color) {
  return std::to_string(color.r) + "," + std::to_string(color.g) + "," + std::to_string(color.b);
}

std::string ItemText(const halvane::LineItem& line) {
  return "line " + Number(line.from.x) + " " + Number(line.from.y) + " " + Number(line.to.x) + " " +
         Number(line.to.y) + " " + ColorText(line.pen.color) + " " +
         (line.pen.style == halvane::LineStyle::Dotted ? "dotted " : "solid ") +
         std::to_string(line.pen.width);
}
std::string ItemText(const halvane::BoxItem& box) {
  return "box " + Number(box.corner1.x) + " " + Number(box.corner1.y) + " " +
         Number(box.corner2.x) + " " + Number(box.corner2.y) + " " + ColorText(box.fill);
}
std::string ItemText(const halvane::TextItem& text) {
  return "text " + Number(text.at.x) + " " + Number(text.at.y) + " " + Number(text.font.size_pt) +
         (text.font.bold ? " bold " : " plain ") + ColorText(text.color) + " " + text.text;
}

std::string DisplayList(const halvane::Canvas& canvas) {
  std::string list;
  for (const halvane::DrawItem& item : canvas.Items()) {
    list += std::visit([](const auto& each) { return ItemText(each); }, item) + "\n";
  }
  return list;
}

int OtherWindowsShown(const QWidget& main_window) {
  int shown = 0;
  for (const QWidget* window : QApplication::topLevelWidgets()) {
    shown += window != &main_window && window->isVisible() ? 1 : 0;
  }
  return shown;
}

bool Write(const std::filesystem::path& file, const std::string& text) {
  if (const std::optional<std::string> error = halvane::WriteFileAtomically(file, text)) {
    std::fprintf(stderr, "halvane_panel_probe: %s\n", error->c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  halvane::Options options;
  int polls = 0;
  std::filesystem::path folder;
  CLI::App app{"Polls the main window offscreen and writes what it showed.", "halvane_panel_probe"};
  halvane::AddMeterOptions(app, options);
  app.add_option("--polls", polls, "polls to run")->required()->check(CLI::PositiveNumber);
  app.add_option("DIR", folder, "where the results go")->required();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  }
  halvane::LinkFailure failure;
  const std::unique_ptr<halvane::DeviceLink> link = halvane::DeviceLink::Open(options, failure);
  if (!link) {
    std::fprintf(stderr, "halvane_panel_probe: %s\n", failure.message.c_str());
    return 2;
  }

  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  halvane::USB usb(link->Backend(), options.device);
  usb.SetTrace(link->Trace());
  const QTemporaryDir temp_folder;
  halvane::Panel panel(usb, temp_folder.path().toStdString());
  panel.show();

  std::string log;
  int polled = 0;
  int answered = 0;
  bool written = true;
  QObject::connect(&panel, &halvane::Panel::Polled, [&](const halvane::LiveReading* reading) {
    const QLabel* reason = panel.findChild<QLabel*>("LblNoConnectionReason");
    log += std::to_string(++polled) + (reading != nullptr ? " live" : " no-connection") + " [" +
           panel.findChild<QLabel*>("LblName")->text().toStdString() + "] [" +
           (reason->isHidden() ? "-" : reason->text().toStdString()) + "] " +
           std::to_string(OtherWindowsShown(panel)) + "\n";
    if (reading != nullptr) {
      const std::string name = "screen-" + std::to_string(++answered) + ".txt";
      written = Write(folder / name, DisplayList(panel.DrawingCanvas())) && written;
    }
    if (polled == polls) {
      panel.Timer1().stop();
      QApplication::quit();
    }
  });
  QApplication::exec();
  return Write(folder / "polls.txt", log) && written ? 0 : 1;
}
