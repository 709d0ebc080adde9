#include "control/comparator_window.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "control/level_band.h"
#include "control/meter_answer.h"
#include "control/meter_commands.h"
#include "control/poll_pause.h"
#include "live/band_labels.h"
#include "ui/named_label.h"
#include "ui/qt_text.h"

namespace halvane {

namespace {

constexpr int kDisable = 0;  // option indexes of OptComp
constexpr int kEnable = 1;
constexpr std::uint8_t kStateDisabled = 1;  // the state byte the meter uses
constexpr std::uint8_t kStateEnabled = 2;
constexpr int kOfferedLevels = 141;  // "0" to "140"

QComboBox* NewList(const char* name, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  return list;
}

}  // namespace

Comparator::Comparator(ControlContext context, QWidget* owner)
    : TopmostWindow(owner),
      context_(std::move(context)),
      state_(new QButtonGroup(this)),
      level_(NewList("CombodB", this)),
      band_(NewList("ComboBand", this)) {
  setObjectName("Comparator");
  setWindowTitle("Comparator");
  state_->setObjectName("OptComp");
  auto* layout = new QGridLayout(this);
  for (const int option : {kDisable, kEnable}) {
    auto* button = new QRadioButton(option == kDisable ? "Disable" : "Enable", this);
    button->setObjectName(QString("OptComp%1").arg(option));
    state_->addButton(button, option);
    layout->addWidget(button, option, 0);
  }
  for (std::size_t band = 0; band < kOfferedBands; ++band) {
    band_->addItem(ToQString(ThirdOctaveBandLabels[band]));
  }
  for (int level = 0; level < kOfferedLevels; ++level) {
    level_->addItem(QString::number(level));
  }
  layout->addWidget(level_, 0, 1);
  layout->addWidget(NamedLabel("LbldB", "dB", this), 0, 2);
  layout->addWidget(band_, 1, 1);
  layout->addWidget(NamedLabel("LblBand", "Hz", this), 1, 2);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("CmdOK");
  layout->addWidget(ok, 2, 1);
  connect(ok, &QPushButton::clicked, this, &Comparator::SendSetting);
}

void Comparator::ShowSetting(int state, int level, int band) {
  level_->setCurrentText(QString::number(level));
  band_->setCurrentText(ToQString(BandLabelAt(band)));
  state_->button(state == kStateEnabled ? kEnable : kDisable)->setChecked(true);
}

void Comparator::SendSetting() {
  const PollPause poll_off(context_.timer1);
  const std::optional<LevelBand> threshold =
      ReadLevelBand(level_->currentText().toStdString(), band_->currentText().toStdString(),
                    kOfferedBands, context_.dialogs);
  if (!threshold) {
    return;
  }
  const bool disable = state_->checkedId() == kDisable;
  ExchangeSetting(context_.usb, {setting::kComparatorLevel, threshold->level, threshold->band});
  if (!MeterAnswered(context_)) {
    return;
  }
  ExchangeSetting(context_.usb,
                  {setting::kComparatorState, disable ? kStateDisabled : kStateEnabled});
  if (!MeterAnswered(context_)) {
    return;
  }
  close();
}

Comparator* OpenComparator(QWidget& owner, const ControlContext& context) {
  const PollPause poll_off(context.timer1);
  context.usb.ReadInputReport();  // takes a reply still pending off the link, without a search
  const int state = ExchangeSetting(context.usb, {setting::kComparatorState, 0x00})[1];
  if (!MeterAnswered(context)) {
    return nullptr;
  }
  const InputReportBuffer& threshold =
      ExchangeSetting(context.usb, {setting::kComparatorLevel, 0x00});
  if (!MeterAnswered(context)) {
    return nullptr;
  }
  Comparator& window = ShowOwnedWindow<Comparator>(owner, context);
  window.ShowSetting(state, threshold[1], threshold[2]);
  return &window;
}

}  // namespace halvane
