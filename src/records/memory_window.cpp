#include "records/memory_window.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QVBoxLayout>

#include "records/kept_names.h"
#include "ui/named_label.h"
#include "ui/qt_text.h"
#include "ui/transfer_gate.h"

namespace halvane {

namespace {

struct GridColumn {
  const char* head;
  const char* sample;  // the text whose width the column takes
  const char* tooltip;
};

constexpr std::array<GridColumn, 4> kGridColumns{{
    {"Set", " No.S ", "The number of the record in the flash memory"},
    {"    Date Time    ", "AAAA/AA/AA AA:AA:AA", "When the record started"},
    {"Mode", "AAAAA",
     "The main channel's weightings: LAF is A frequency weighting, F (fast) time weighting"},
    {"Records", "AAAAAAAA", "The samples the record holds, one line each in its file"},
}};

// What the grid does not show of the records a read found.
QString TableNote(const LoggerRecordTable& table) {
  QStringList note;
  if (table.size() > kMaxLoggerRecords) {
    note.append(QString("The flash memory holds %1 records; the first %2 are listed.")
                    .arg(table.size())
                    .arg(kMaxLoggerRecords));
  }
  if (!table.empty() && table.back().CutShort()) {
    note.append(QString("Record %1 is cut short: the flash memory holds %2 of its %3 samples.")
                    .arg(table.size())
                    .arg(table.back().samples_held)
                    .arg(table.back().sample_count));
  }
  return note.join('\n');
}

}  // namespace

Memory::Memory(RecordFileOutput output, QWidget& main_window)
    : QWidget(&main_window, Qt::Window), output_(std::move(output)) {
  setObjectName("Memory");
  setWindowTitle("Data Logger");
  setAttribute(Qt::WA_DeleteOnClose);

  mbar_ = new QProgressBar(this);
  mbar_->setObjectName("MBar");
  mbar_->setRange(0, 100);
  mbar_->setValue(0);

  auto* ss_panel2 = new QGroupBox(this);
  ss_panel2->setObjectName("SSPanel2");
  msize_ = new QProgressBar(ss_panel2);
  msize_->setObjectName("MSize");
  msize_->setRange(0, 100);
  msize_->setValue(0);
  msize_->setFormat("Memory Size %p%");
  auto* legend = new QHBoxLayout;
  QLabel* capacity = NamedLabel("LblMemorySize", "Capacity : 512 K", ss_panel2);
  capacity->setToolTip(QString("The flash memory holds %1 bytes of records").arg(kLoggerCapacity));
  legend->addWidget(capacity);
  legend->addStretch();
  legend->addWidget(NamedLabel("Label2", "Used", ss_panel2));
  lbl_used_ = NamedLabel("LblUsed", "", ss_panel2);
  legend->addWidget(lbl_used_);
  legend->addSpacing(12);
  legend->addWidget(NamedLabel("Label3", "Unused", ss_panel2));
  lbl_unused_ = NamedLabel("LblUnused", "", ss_panel2);
  legend->addWidget(lbl_unused_);
  auto* gauge = new QVBoxLayout(ss_panel2);
  gauge->addWidget(msize_);
  gauge->addLayout(legend);

  auto* ss_panel3 = new QGroupBox(this);
  ss_panel3->setObjectName("SSPanel3");
  grid_set_ = new QTableWidget(0, static_cast<int>(kGridColumns.size()), ss_panel3);
  grid_set_->setObjectName("GridSet");
  grid_set_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_set_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_set_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_set_->verticalHeader()->hide();
  const QFontMetrics metrics(grid_set_->font());
  int grid_width = 0;
  for (int column = 0; column < static_cast<int>(kGridColumns.size()); ++column) {
    const GridColumn& grid_column = kGridColumns[static_cast<std::size_t>(column)];
    auto* head = new QTableWidgetItem(grid_column.head);
    head->setToolTip(grid_column.tooltip);
    grid_set_->setHorizontalHeaderItem(column, head);
    const int width =
        metrics.horizontalAdvance(grid_column.sample) + 2 * metrics.averageCharWidth();
    grid_set_->setColumnWidth(column, width);
    grid_width += width;
  }
  grid_set_->setMinimumWidth(grid_width + 2 * grid_set_->frameWidth() + 24);
  connect(grid_set_, &QTableWidget::cellClicked, this, [this](int row, int) { WriteRecord(row); });
  lbl_note_ = NamedLabel("LblNote", "", ss_panel3);
  lbl_note_->setWordWrap(true);
  lbl_note_->hide();
  auto* grid = new QVBoxLayout(ss_panel3);
  grid->addWidget(grid_set_);
  grid->addWidget(lbl_note_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(mbar_);
  layout->addWidget(ss_panel2);
  layout->addWidget(ss_panel3, 1);
  resize(sizeHint().width(), 420);
  move(0, 0);
}

void Memory::ShowRecords(std::vector<std::uint8_t> image, LoggerRecordTable table,
                         std::uint32_t used_size) {
  logger_image_ = std::make_shared<const std::vector<std::uint8_t>>(std::move(image));
  logger_record_table_ = std::move(table);
  const std::size_t rows = std::min(logger_record_table_.size(), kMaxLoggerRecords);
  grid_set_->setRowCount(static_cast<int>(rows));
  for (std::size_t n = 1; n <= rows; ++n) {
    const QStringList cells = ToQString(GridRowText(n, logger_record_table_[n - 1])).split('\t');
    for (int column = 0; column < cells.size(); ++column) {
      grid_set_->setItem(static_cast<int>(n - 1), column, new QTableWidgetItem(cells[column]));
    }
  }
  lbl_note_->setText(TableNote(logger_record_table_));
  lbl_note_->setVisible(!lbl_note_->text().isEmpty());
  msize_->setValue(static_cast<int>(100ULL * used_size / kLoggerCapacity));
  const std::uint32_t used = std::min(used_size, kLoggerCapacity);
  lbl_used_->setText(QString("%1 bytes").arg(used));
  lbl_unused_->setText(QString("%1 bytes").arg(kLoggerCapacity - used));
}

void Memory::WriteRecord(int row) {
  if (row < 0 || row >= grid_set_->rowCount()) {
    return;
  }
  // Repainting may run a close of this window, or of the main window: either ends the writing
  // and writes nothing.
  const QPointer<Memory> alive(this);
  const std::shared_ptr<const std::vector<std::uint8_t>> image = logger_image_;
  const LoggerRecord record = logger_record_table_[static_cast<std::size_t>(row)];
  std::string file;
  {
    TransferGate gate(*parentWidget());
    file = FlashRecordFileText(*image, record,
                               [this, &alive, &gate](std::uint64_t written, std::uint64_t total) {
                                 if (alive) {
                                   mbar_->setValue(static_cast<int>(100 * written / total));
                                   gate.Repaint();
                                 }
                               });
    if (!alive || gate.MainWindowClosed()) {
      return;
    }
  }
  if (alive) {
    output_.WriteAndOpen(file, *this, KeptRecordName(static_cast<std::size_t>(row) + 1, record));
  }
}

}  // namespace halvane
