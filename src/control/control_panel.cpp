#include "control/control_panel.h"

#include <QGridLayout>
#include <QPushButton>
#include <algorithm>
#include <iterator>
#include <string_view>

#include "control/meter_answer.h"
#include "control/poll_pause.h"

namespace halvane {

namespace {

// Where each key sits on the keypad, and what it says.
struct KeyPlace {
  std::string_view button;
  const char* caption;
  int row;
  int column;
};

constexpr KeyPlace kKeyPlaces[] = {
    {"CmdBkLight", "BACKLIGHT", 0, 0},
    {"CmdMenu", "MENU", 0, 1},
    {"CmdMode", "MODE", 0, 2},
    {"CmdStartStop", "START/STOP", 0, 3},
    {"CmdFreq", "FREQ", 1, 0},
    {"CmdTime", "TIME", 1, 1},
    {"CmdOct", "OCT", 1, 2},
    {"CmdGrp", "GRP", 1, 3},
    {"CmdLevelUp", "LEVEL UP", 2, 0},
    {"CmdUp", "UP", 2, 1},
    {"CmdPauseCont", "PAUSE/CONT", 2, 3},
    {"CmdLeft", "LEFT", 3, 0},
    {"CmdEnter", "ENTER", 3, 1},
    {"CmdRight", "RIGHT", 3, 2},
    {"CmdLevelDown", "LEVEL DOWN", 4, 0},
    {"CmdDown", "DOWN", 4, 1},
    {"CmdStore", "STORE", 4, 3},
};

constexpr bool IsPlaced(std::string_view button) {
  return std::any_of(std::begin(kKeyPlaces), std::end(kKeyPlaces),
                     [button](const KeyPlace& place) { return place.button == button; });
}
// Every key has exactly one button.
static_assert(std::size(kKeyPlaces) == std::size(kMeterKeys) &&
              std::all_of(std::begin(kMeterKeys), std::end(kMeterKeys),
                          [](const MeterKey& key) { return IsPlaced(key.button); }));

const MeterKey& KeyOf(std::string_view button) {
  return *std::find_if(std::begin(kMeterKeys), std::end(kMeterKeys),
                       [button](const MeterKey& key) { return key.button == button; });
}

}  // namespace

ControlPanel::ControlPanel(ControlContext context, QWidget* owner)
    : TopmostWindow(owner), context_(std::move(context)) {
  setObjectName("ControlPanel");
  setWindowTitle("Buttons");
  auto* keypad = new QGridLayout(this);
  for (const KeyPlace& place : kKeyPlaces) {
    auto* button = new QPushButton(place.caption, this);
    button->setObjectName(QString::fromUtf8(place.button.data(), std::ssize(place.button)));
    const MeterKey key = KeyOf(place.button);
    connect(button, &QPushButton::clicked, this, [this, key] { PressKey(key); });
    keypad->addWidget(button, place.row, place.column);
  }
}

ControlPanel& ControlPanel::Open(QWidget& owner, const ControlContext& context) {
  return ShowOwnedWindow<ControlPanel>(owner, context);
}

void ControlPanel::PressKey(const MeterKey& key) {
  const PollPause poll_off(context_.timer1);
  FillKeyCommand(context_.usb.OutputReport(), key);
  context_.usb.ExchangeReports();
  MeterAnswered(context_);
}

}  // namespace halvane
