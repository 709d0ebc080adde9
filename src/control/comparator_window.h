#pragma once
// The comparator window: whether the meter's level comparator is enabled, its threshold in dB
// and the third-octave band it watches. "OK" writes them to the meter and closes the window.

#include <QTimer>
#include <cstddef>

#include "control/topmost_window.h"
#include "link/usb.h"
#include "ui/user_dialogs.h"

class QButtonGroup;
class QComboBox;

namespace halvane {

class Comparator : public TopmostWindow {
  Q_OBJECT

 public:
  static constexpr std::size_t kOfferedBands = 33;  // "12.5" to "20k"; "AP" is not offered

  // `timer1` is the main window's live poll, kept off while "OK" talks to the meter.
  Comparator(USB& usb, QTimer& timer1, UserDialogs& dialogs, QWidget* owner);

  // Shows what the meter answered: "Enable" when the state is 2, the threshold and the band's
  // label (empty for an index outside the table).
  void ShowSetting(int state, int level, int band);
  void SendSetting();

 private:
  USB& usb_;
  QTimer& timer1_;
  UserDialogs& dialogs_;
  QButtonGroup* state_;
  QComboBox* level_;
  QComboBox* band_;
};

// The toolbar's "Comparator": reads the comparator's setting from the meter with the live poll
// off, and shows it in the comparator window of `owner`, created on first use.
Comparator& OpenComparator(QWidget& owner, USB& usb, QTimer& timer1, UserDialogs& dialogs);

}  // namespace halvane
