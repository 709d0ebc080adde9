#include "live/panel_lists.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <span>

#include "live/band_labels.h"
#include "live/panel_layout.h"
#include "ui/named_label.h"
#include "ui/qt_text.h"

namespace halvane {

namespace {

QStringList ToStringList(std::span<const std::string_view> entries) {
  QStringList list;
  for (std::string_view entry : entries) {
    list.append(ToQString(entry));
  }
  return list;
}

QStringList LevelEntries() {
  QStringList list;
  for (int level = 0; level < kLevelEntryCount; ++level) {
    list.append(QString::number(level));
  }
  return list;
}

// Lists whose text code sets freely (a letter not yet known, a level or band the meter
// reports) are editable; the others only offer their entries.
QComboBox* CreateList(QWidget* parent, const char* name, const QStringList& entries,
                      bool editable = false) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setEditable(editable);
  list->setInsertPolicy(QComboBox::NoInsert);
  list->setMaxVisibleItems(12);
  list->addItems(entries);
  list->hide();
  return list;
}

QPushButton* CreateButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

}  // namespace

PanelLists CreatePanelLists(QWidget* parent) {
  PanelLists lists{};
  lists.ComboTrigger = CreateList(parent, "ComboTrigger", ToStringList(kTriggerEntries));
  lists.ComboBkLight = CreateList(parent, "ComboBkLight", ToStringList(kBackLightEntries));
  lists.ComboDevice = CreateList(parent, "ComboDevice", ToStringList(kDeviceEntries));
  lists.ComboRecMode = CreateList(parent, "ComboRecMode", ToStringList(kRecModeEntries));
  lists.ComboNoItem = CreateList(parent, "ComboNoItem", ToStringList(kNoItemEntries));
  lists.ComboSets = CreateList(parent, "ComboSets", {});
  // Editable so that the number box can set any record number, which the bar graph reads from
  // the list's text; a user only picks from it.
  lists.ComboNo = CreateList(parent, "ComboNo", {}, true);
  lists.ComboNo->lineEdit()->setReadOnly(true);
  lists.ComboItem = CreateList(parent, "ComboItem", {});
  // A file may hold thousands of records: the list is as wide as a long number, not as its
  // longest entry, which would take a look at every one.
  lists.ComboNo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  lists.ComboNo->setMinimumContentsLength(8);
  lists.SpinNo = new QSpinBox(parent);
  lists.SpinNo->setObjectName("SpinNo");
  lists.SpinNo->setKeyboardTracking(false);  // a typed number counts once it is complete
  lists.SpinNo->hide();
  lists.ComboMainSubAC = CreateList(parent, "ComboMainSubAC", ToStringList(kChannelEntries));
  lists.ComboFreq = CreateList(parent, "ComboFreq", ToStringList(kFreqEntries), true);
  lists.ComboMainSubFS = CreateList(parent, "ComboMainSubFS", ToStringList(kChannelEntries));
  lists.ComboTime = CreateList(parent, "ComboTime", ToStringList(kTimeEntries), true);
  // The weighting lists show whatever letter the meter reports, but a user only picks from them:
  // a typed letter that is not an entry would otherwise be dropped without a word.
  lists.ComboFreq->lineEdit()->setReadOnly(true);
  lists.ComboTime->lineEdit()->setReadOnly(true);
  lists.ComboDevice->setCurrentText("Flash Memory");
  lists.ComboRecMode->setCurrentText("Automatically");

  lists.PicTriggerdB = new QFrame(parent);
  lists.PicTriggerdB->setObjectName("PicTriggerdB");
  lists.PicTriggerdB->setFrameShape(QFrame::StyledPanel);
  lists.PicTriggerdB->setAutoFillBackground(true);
  lists.CombodB = CreateList(lists.PicTriggerdB, "CombodB", LevelEntries(), true);
  lists.ComboBand =
      CreateList(lists.PicTriggerdB, "ComboBand", ToStringList(ThirdOctaveBandLabels), true);
  lists.LbldB = NamedLabel("LbldB", "dB", lists.PicTriggerdB);
  lists.LblBand = NamedLabel("LblBand", "Hz", lists.PicTriggerdB);
  lists.CmdTriggerdBOK = CreateButton(lists.PicTriggerdB, "CmdTriggerdBOK", "OK");
  lists.CmdTriggerdBExit = CreateButton(lists.PicTriggerdB, "CmdTriggerdBExit", "Exit");
  auto* layout = new QHBoxLayout(lists.PicTriggerdB);
  for (QWidget* control :
       std::initializer_list<QWidget*>{lists.CombodB, lists.LbldB, lists.ComboBand, lists.LblBand,
                                       lists.CmdTriggerdBOK, lists.CmdTriggerdBExit}) {
    control->show();
    layout->addWidget(control);
  }
  lists.PicTriggerdB->adjustSize();
  lists.PicTriggerdB->hide();
  return lists;
}

}  // namespace halvane
