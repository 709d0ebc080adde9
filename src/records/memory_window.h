#pragma once
// The data-logger window "Data Logger": the progress of the flash read, how much of the flash
// area is in use, and one grid row per record, at most 250; a click on a row writes that
// record's file. A note under the grid says what the rows do not show: records left out, and a
// last record cut short.

#include <QLabel>
#include <QProgressBar>
#include <QTableWidget>
#include <QWidget>
#include <memory>

#include "records/logger_image.h"
#include "records/record_file_output.h"

namespace halvane {

class Memory : public QWidget {
  Q_OBJECT

 public:
  // A window of `main_window`, which it stays over.
  Memory(RecordFileOutput output, QWidget& main_window);

  QProgressBar& MBar() { return *mbar_; }
  QTableWidget& GridSet() { return *grid_set_; }
  QLabel& LblNote() { return *lbl_note_; }

  // Takes the image of a read and the records the walk found in it, lists them and shows the
  // share of the flash area in use.
  void ShowRecords(std::vector<std::uint8_t> image, LoggerRecordTable table,
                   std::uint32_t used_size);
  // Writes the record of grid row `row` (from 0) and opens its file.
  void WriteRecord(int row);

 private:
  RecordFileOutput output_;
  QProgressBar* mbar_;
  QProgressBar* msize_;
  QLabel* lbl_used_;  // the gauge's numbers beside its legend
  QLabel* lbl_unused_;
  QTableWidget* grid_set_;
  QLabel* lbl_note_;
  // Shared with a record being written, which a close of the window must not pull away.
  std::shared_ptr<const std::vector<std::uint8_t>> logger_image_;
  LoggerRecordTable logger_record_table_;
};

}  // namespace halvane
