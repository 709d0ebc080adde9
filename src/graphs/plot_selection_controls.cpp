#include "graphs/plot_selection_controls.h"

#include <QSignalBlocker>
#include <climits>
#include <fstream>

#include "records/plot_selection.h"
#include "ui/qt_text.h"

namespace halvane {

namespace {

constexpr const char* kRecordFileFilter = "Data Files (*.txt);;All Files (*)";
constexpr const char* kRecordChoice =
    "Choose a record: the bar graph shows its octave band spectrum and statistics.";
constexpr const char* kItemChoice =
    "Choose an item, a statistic or a band level: the cursor graph draws it over all records.";

QString NoItemExplanation(const QString& entry) {
  if (entry == "No.s") {
    return "the octave band spectrum of one record";
  }
  return entry == "Item" ? "one level over all records" : "closes this list";
}

QStringList ToStringList(const std::vector<std::string>& entries) {
  QStringList list;
  for (const std::string& entry : entries) {
    list.append(ToQString(entry));
  }
  return list;
}

void Refill(QComboBox* list, const QStringList& entries) {
  list->clear();
  list->addItems(entries);
  list->setCurrentText("Exit");
}

}  // namespace

PlotSelectionControls::PlotSelectionControls(Panel& panel, ToolbarCommands& toolbar,
                                             UserDialogs& dialogs, TextEditorLauncher& editor,
                                             std::filesystem::path records_folder)
    : panel_(panel),
      lists_(panel.Lists()),
      records_folder_(std::move(records_folder)),
      dialogs_(dialogs),
      editor_(editor) {
  lists_.ComboNo->setToolTip(kRecordChoice);
  lists_.ComboItem->setToolTip(kItemChoice);
  toolbar.AddBranch("Plot", [this] { PlotFromFile(); });
  connect(lists_.ComboNoItem, &QComboBox::activated, this,
          [this](int index) { ChooseNoItem(lists_.ComboNoItem->itemText(index)); });
  connect(lists_.ComboNo, &QComboBox::activated, this,
          [this](int index) { ChooseNo(lists_.ComboNo->itemText(index)); });
  connect(lists_.ComboItem, &QComboBox::activated, this, &PlotSelectionControls::ChooseItem);
  connect(lists_.SpinNo, &QSpinBox::valueChanged, this, [this](int record) {
    lists_.ComboNo->setEditText(QString::number(record));
    ChooseNo(lists_.ComboNo->currentText());
  });
}

void PlotSelectionControls::PlotFromFile() {
  const std::filesystem::path path = dialogs_.AskOpenFile(kRecordFileFilter, records_folder_);
  if (path.empty()) {
    return;
  }
  std::ifstream in(path, std::ios::binary);
  const RecordFileReader reader(in);
  if (!reader.Header()) {
    dialogs_.ShowCritical("Not a record file: " + path.string());
    return;
  }
  file_ = PlotFile{path, *reader.Header()};
  const RecordFileInfo& info = file_->info;
  in.clear();
  in.seekg(0);
  // The record numbers offered are those of the lines the file holds, whatever its header says.
  held_records_ = CountRecordLines(in, info.RecordCount);

  Refill(lists_.ComboItem, ToStringList(ItemEntries(ItemListMode(info.RecordMode))));
  QStringList numbers{"Exit"};
  for (std::uint64_t record = 1; record <= std::min(held_records_, kListedRecordNumbers);
       ++record) {
    numbers.append(QString::number(record));
  }
  Refill(lists_.ComboNo, numbers);
  const QSignalBlocker quiet(lists_.SpinNo);
  lists_.SpinNo->setRange(1, static_cast<int>(std::min<std::uint64_t>(held_records_, INT_MAX)));
  ShowRecordChoice(!lists_.ComboNo->isHidden());
  Refill(lists_.ComboNoItem, ToStringList(NoItemEntries(info.RecordMode)));
  for (int entry = 0; entry < lists_.ComboNoItem->count(); ++entry) {
    lists_.ComboNoItem->setItemData(entry, NoItemExplanation(lists_.ComboNoItem->itemText(entry)),
                                    Qt::ToolTipRole);
  }
  lists_.ComboNoItem->show();
  const bool bands = lists_.ComboNoItem->findText("No.s") >= 0;
  panel_.ShowNote(
      QString("%1: %2, %3 records from %4. %5")
          .arg(QString::fromStdString(path.filename().string()), ToQString(info.RecordMode),
               QString::number(held_records_), ToQString(info.start_time),
               bands ? QString("\"No.s\": %1; \"Item\": %2.")
                           .arg(NoItemExplanation("No.s"), NoItemExplanation("Item"))
                     : QString("No bands; \"Item\": %1.").arg(NoItemExplanation("Item"))));
}

void PlotSelectionControls::ChooseNoItem(const QString& entry) {
  lists_.ComboNoItem->hide();
  if (entry == "Exit") {
    return;
  }
  const bool item = entry == "Item";
  lists_.ComboItem->setVisible(item);
  ShowRecordChoice(!item);
  panel_.ShowNote(item ? kItemChoice : kRecordChoice);
}

void PlotSelectionControls::ShowRecordChoice(bool shown) {
  lists_.ComboNo->setVisible(shown);
  lists_.SpinNo->setVisible(shown && held_records_ > kListedRecordNumbers);
}

void PlotSelectionControls::ChooseNo(const QString& entry) {
  if (entry == "Exit" || !file_) {
    ShowRecordChoice(false);
    return;
  }
  if (bar_form_.isNull()) {
    bar_form_ = new BarForm(*file_, *lists_.ComboNo, dialogs_, editor_, panel_);
  }
  bar_form_->ShowRecord(*file_);
  bar_form_->show();
  ShowRecordChoice(!lists_.ComboNo->isHidden());
}

void PlotSelectionControls::ChooseItem(int position) {
  const RecordMode mode = file_ ? ItemListMode(file_->info.RecordMode) : RecordMode::Slm;
  const std::optional<std::size_t> field =
      file_ ? ItemField(mode, static_cast<std::size_t>(position)) : std::nullopt;
  lists_.ComboItem->hide();
  if (!field) {
    return;
  }
  CursorGraphData data;
  data.ItemName = lists_.ComboItem->itemText(position).toStdString();
  {
    std::ifstream in(file_->RecordFileName, std::ios::binary);
    data.column = ReadItemColumn(in, *field, file_->info.RecordCount);
  }
  data.start_time = file_->info.start_time;
  data.file_name = file_->RecordFileName.filename().string();
  data.RecordCount = file_->info.RecordCount;
  data.RecordRangeTop = file_->info.RecordRangeTop;
  data.RecordRangeBottom = file_->info.RecordRangeBottom;
  // Each item starts in a freshly loaded window.
  if (!plot_.isNull()) {
    plot_->close();
  }
  plot_ = new Plot(std::move(data), dialogs_, &panel_);
  plot_->show();
  editor_.Open(file_->RecordFileName);
}

}  // namespace halvane
