#pragma once
// The comparator window: whether the meter's level comparator is enabled, its threshold in dB
// and the third-octave band it watches. "OK" writes them to the meter and closes the window.

#include <cstddef>

#include "control/control_context.h"
#include "control/topmost_window.h"

class QButtonGroup;
class QComboBox;

namespace halvane {

class Comparator : public TopmostWindow {
  Q_OBJECT

 public:
  static constexpr std::size_t kOfferedBands = 33;  // "12.5" to "20k"; "AP" is not offered

  // The context's timer is the main window's live poll, kept off while "OK" talks to the meter.
  Comparator(ControlContext context, QWidget* owner);

  // Shows what the meter answered: "Enable" when the state is 2, the threshold and the band's
  // label (empty for an index outside the table).
  void ShowSetting(int state, int level, int band);
  // Writes the setting and closes the window; a level or band that means nothing is refused
  // and a missing meter reported, with the window left open for another try.
  void SendSetting();

 private:
  ControlContext context_;
  QButtonGroup* state_;
  QComboBox* level_;
  QComboBox* band_;
};

// The toolbar's "Comparator": reads the comparator's setting from the meter with the live poll
// off, and shows it in the comparator window of `owner`, created on first use. Without an
// answer from the meter no window opens: nullptr.
Comparator* OpenComparator(QWidget& owner, const ControlContext& context);

}  // namespace halvane
