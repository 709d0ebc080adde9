// Saves a picture of the main window over the simulated meter in each display mode, and with
// the meter unplugged: `halvane_screenshots DIR`.

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <string>

#include "link/usb.h"
#include "live/panel.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: halvane_screenshots DIR\n", stderr);
    return 2;
  }
  QApplication application(argc, argv);
  const QDir folder(argv[1]);
  folder.mkpath(".");

  halvane::SimulatedMeter meter;
  halvane::SimulatedBackend backend(meter);
  halvane::USB usb(backend);
  halvane::Panel panel(usb, QDir::temp().filePath("halvane-screenshots").toStdString());
  panel.Timer1().stop();
  panel.show();

  auto save = [&](const std::string& name) {
    for (int tick = 0; tick < 30; ++tick) {
      panel.PollMeter();
    }
    QApplication::processEvents();
    const QString path = folder.filePath(QString::fromStdString(name + ".png"));
    if (!panel.grab().save(path)) {
      std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
    }
  };
  for (int mode = 0; mode <= 8; ++mode) {
    meter.State().display_mode = mode;
    save("mode" + std::to_string(mode));
  }
  backend.Unplug();
  save("no-connection");
  return 0;
}
