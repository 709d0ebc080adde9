#pragma once
// The main window's settings lists and the trigger level panel: created filled and hidden.

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace halvane {

struct PanelLists {
  QComboBox* ComboTrigger;
  QComboBox* ComboBkLight;
  QComboBox* ComboDevice;
  QComboBox* ComboRecMode;
  QComboBox* ComboNoItem;
  QComboBox* ComboNo;    // a record file's record numbers, filled by "Plot"
  QSpinBox* SpinNo;      // any record number, beside ComboNo when a file holds more than it lists
  QComboBox* ComboItem;  // a record file's items, filled by "Plot"
  QComboBox* ComboSets;  // the SD card's sets, filled by each scan
  QComboBox* ComboMainSubAC;
  QComboBox* ComboFreq;
  QComboBox* ComboMainSubFS;
  QComboBox* ComboTime;
  // The trigger level panel and its controls.
  QFrame* PicTriggerdB;
  QComboBox* CombodB;
  QComboBox* ComboBand;
  QLabel* LbldB;
  QLabel* LblBand;
  QPushButton* CmdTriggerdBOK;
  QPushButton* CmdTriggerdBExit;
};

// Creates the lists as hidden children of `parent`, each filled with its entries.
PanelLists CreatePanelLists(QWidget* parent);

}  // namespace halvane
