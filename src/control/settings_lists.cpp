#include "control/settings_lists.h"

#include "control/meter_answer.h"
#include "live/panel_layout.h"
#include "ui/qt_text.h"

namespace halvane {

namespace {

constexpr int kKeyPressGapMs = 500;

void HidePair(QComboBox* channel, QComboBox* weighting) {
  channel->hide();
  weighting->hide();
}

}  // namespace

SettingsLists::SettingsLists(ControlContext context, const PanelLists& lists,
                             const LiveReading& reading, const SubChannelSettings& sub,
                             QObject* parent)
    : QObject(parent), context_(std::move(context)), reading_(reading), sub_(sub) {
  const std::pair<QComboBox*, std::uint8_t> plain_lists[] = {
      {lists.ComboBkLight, setting::kBackLight},
      {lists.ComboDevice, setting::kStorageDevice},
      {lists.ComboRecMode, setting::kRecordingMode},
  };
  for (const auto& [list, sub_command] : plain_lists) {
    connect(list, &QComboBox::activated, this,
            [this, list = list, sub_command = sub_command](int index) {
              ChooseSetting(list, sub_command, index);
            });
  }
  Connect({lists.ComboMainSubAC, lists.ComboFreq, setting::kSubFreqWeighting, kFreqKey,
           kFreqEntries, &LiveReading::MainFreqWeighting, &SubChannelSettings::SubFreqSetting});
  Connect({lists.ComboMainSubFS, lists.ComboTime, setting::kSubTimeWeighting, kTimeKey,
           kTimeEntries, &LiveReading::MainTimeWeighting, &SubChannelSettings::SubTimeSetting});
}

void SettingsLists::Connect(const WeightingPair& pair) {
  connect(pair.channel, &QComboBox::activated, this,
          [this, pair](int index) { ChooseChannel(pair, index); });
  connect(pair.weighting, &QComboBox::activated, this,
          [this, pair](int index) { ChooseWeighting(pair, index); });
}

// The entry's position in its list, from 1, is the value the meter takes.
void SettingsLists::ChooseSetting(QComboBox* list, std::uint8_t sub_command, int index) {
  if (list->itemText(index) == "Exit") {
    list->hide();
    return;
  }
  PollPause poll_pause(context_.timer1);
  context_.usb.ReceiveReport();
  list->hide();
  ExchangeSetting(context_.usb, {sub_command, static_cast<std::uint8_t>(index + 1)});
  MeterAnswered(context_);
}

void SettingsLists::ChooseChannel(const WeightingPair& pair, int index) {
  const QString entry = pair.channel->itemText(index);
  if (entry == "Main Channel") {
    pair.weighting->setEditText(ToQString(reading_.*pair.main_letter));
  } else if (entry == "Sub Channel") {
    pair.weighting->setEditText(ToQString(sub_.*pair.sub_letter));
  } else {
    HidePair(pair.channel, pair.weighting);
  }
}

// The sub channel takes a setting command; the main channel only follows the meter's own key,
// pressed as many times as its cycle needs; the presses stop at the first that finds no meter.
void SettingsLists::ChooseWeighting(const WeightingPair& pair, int index) {
  PollPause poll_pause(context_.timer1);
  if (pair.channel->currentText() != "Main Channel") {
    ExchangeSetting(context_.usb, {pair.sub_command, static_cast<std::uint8_t>(index + 1)});
    MeterAnswered(context_);
    HidePair(pair.channel, pair.weighting);
    return;
  }
  FillKeyCommand(context_.usb.OutputReport(), pair.key);
  const std::string chosen = pair.weighting->itemText(index).toStdString();
  const std::string& current = reading_.*pair.main_letter;
  if (chosen == current) {
    return;
  }
  const int presses = PressesToReach(current, chosen, pair.cycle);
  for (int press = 0; press < presses; ++press) {
    if (press > 0) {
      context_.pause(kKeyPressGapMs);
    }
    context_.usb.ExchangeReports();
    if (!MeterAnswered(context_)) {
      break;
    }
  }
  HidePair(pair.channel, pair.weighting);
}

}  // namespace halvane
