#pragma once
// The "SD" button and the set list `ComboSets`: the scan lists the card's sets, choosing one
// downloads it, writes its record file and opens it.

#include <QComboBox>
#include <QObject>

#include "control/control_context.h"
#include "live/panel.h"
#include "records/record_file_output.h"
#include "records/sd_set.h"

namespace halvane {

class SdCardCommands : public QObject {
  Q_OBJECT

 public:
  SdCardCommands(ControlContext context, Panel& panel, RecordFileOutput output);

  // The toolbar button "SD".
  void ScanSdCard();
  // The choice of an entry of `ComboSets`.
  void ChooseSet(const QString& entry);

 private:
  // Set `number` (from 1) of the last scan.
  void Download(std::size_t number, const SdSet& set);

  ControlContext context_;
  Panel& panel_;
  RecordFileOutput output_;
  SdSetTable table_;
};

}  // namespace halvane
