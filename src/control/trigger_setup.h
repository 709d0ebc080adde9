#pragma once
// The trigger: the mode chosen in ComboTrigger, then the level and band of a level trigger in
// the panel PicTriggerdB, or the time of a time trigger in an input box.

#include <QObject>

#include "control/control_context.h"
#include "live/panel_lists.h"

namespace halvane {

class TriggerSetup : public QObject {
  Q_OBJECT

 public:
  TriggerSetup(ControlContext context, const PanelLists& lists, QObject* parent = nullptr);

 private:
  void ChooseMode(int index);
  // Each is false when an exchange found no meter: the user has been told, and nothing more
  // is sent.
  bool SetMode(int index, const QString& entry);
  bool ShowLevelTrigger();
  bool AskTriggerTime();
  void SendLevelTrigger();

  ControlContext context_;
  const PanelLists& lists_;
};

}  // namespace halvane
