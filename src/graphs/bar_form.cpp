#include "graphs/bar_form.h"

#include <qcustomplot.h>

#include <QAction>
#include <QKeyEvent>
#include <QPrinter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <fstream>

#include "graphs/bar_graph.h"
#include "graphs/graph_output.h"
#include "graphs/item_csv.h"
#include "graphs/record_times.h"
#include "records/atomic_file.h"
#include "records/plot_selection.h"
#include "text/number_text.h"
#include "ui/qt_text.h"

namespace halvane {

namespace {

// The smallest window, 11295 x 8865 twips, in pixels of a 96 dpi screen.
constexpr QSize kMinimumSize{753, 591};
constexpr std::size_t kDateTimeField = 2;

QString Swatch(const char* colour, const QString& text, const char* mark = "&#9632;") {
  return QString("<span style='color:%1'>%2</span>&nbsp;%3").arg(colour, mark, text);
}

// What each kind of bar of the mode stands for, in its colour.
QString LegendText(std::string_view mode) {
  QStringList entries;
  if (mode == "1/1 OCTAVE") {
    entries << Swatch("#0000ff", "1/1 octave");
  } else if (mode == "1/1 & 1/3 OCTAVE") {
    entries << Swatch("#000000", "1/1 octave, behind its thirds", "&#9633;");
  }
  if (mode == "1/3 OCTAVE" || mode == "1/1 & 1/3 OCTAVE") {
    entries << Swatch("#00c8c8", "1/3 octave, the octave's centre")
            << Swatch("#00c000", "other 1/3 octave");
  }
  entries << Swatch("#0000ff", "main overall") << Swatch("#000000", "sub overall")
          << Swatch("#ff0000", "band cursor: click a bar, or arrow keys", "&#8942;");
  return entries.join("&nbsp;&nbsp;&nbsp;");
}

}  // namespace

BarForm::BarForm(PlotFile file, QComboBox& combo_no, UserDialogs& dialogs,
                 TextEditorLauncher& editor, QWidget& main_window)
    : QWidget(&main_window, Qt::Window),
      file_(std::move(file)),
      combo_no_(combo_no),
      dialogs_(dialogs),
      canvas_(kBarGraphWidthUnits, kBarGraphHeightUnits),
      toolbar_(new QToolBar(this)),
      lbl_title_(new QLabel(this)),
      view_(new CanvasView(canvas_, this)),
      lbl_legend_(new QLabel(this)) {
  setObjectName("BarForm");
  setWindowTitle("BarGraph");
  setAttribute(Qt::WA_DeleteOnClose);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(kMinimumSize);
  canvas_.SetTextMeasure(view_->MakeTextMeasure());

  toolbar_->setObjectName("Toolbar1");
  const auto add = [this](const char* key, const char* tooltip, auto handler) {
    QAction* action = toolbar_->addAction(tooltip, this, handler);
    action->setObjectName(key);
    action->setToolTip(tooltip);
  };
  add("Print", "Print", [this] { Print(); });
  add("LeftC", "Leftward", [this] { MoveCursor(-1); });
  add("RightC", "Rightward", [this] { MoveCursor(1); });
  add("Export", "Export", [this] { Export(); });
  add("PrevRecord", "Previous record", [this] { StepRecord(-1); });
  add("NextRecord", "Next record", [this] { StepRecord(1); });
  lbl_title_->setObjectName("LblTitle");
  lbl_title_->setContentsMargins(6, 2, 6, 2);
  lbl_legend_->setObjectName("LblLegend");
  lbl_legend_->setContentsMargins(6, 2, 6, 2);
  lbl_legend_->setWordWrap(true);
  lbl_legend_->setText(LegendText(file_.info.RecordMode));
  connect(view_, &CanvasView::Clicked, this, [this](Point at) {
    const std::optional<int> band = BandAt(at.x, file_.info.RecordMode);
    if (band && at.y >= 18 && at.y <= 90) {
      band_cursor_ = *band;
      Redraw();
    }
  });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolbar_);
  layout->addWidget(lbl_title_);
  layout->addWidget(view_, 1);
  layout->addWidget(lbl_legend_);

  resize(kMinimumSize);
  const QRect main = main_window.frameGeometry();
  move(main.left() + (main.width() - width()) / 2, main.top());
  editor.Open(file_.RecordFileName);
}

void BarForm::ShowRecord(PlotFile file) {
  file_ = std::move(file);
  lbl_legend_->setText(LegendText(file_.info.RecordMode));
  titled_record_ = 0;
  Redraw();
}

void BarForm::Redraw() {
  std::ifstream in(file_.RecordFileName, std::ios::binary);
  const auto record = static_cast<std::int64_t>(
      std::clamp(ReadNumber(combo_no_.currentText().toStdString()), -1.0, 9.0e18));
  fields_ = ReadRecordFields(in, record);
  DrawBarGraph(canvas_, file_.info, fields_ ? &*fields_ : nullptr, band_cursor_);
  if (fields_) {
    combo_no_.hide();
    ShowTitle(static_cast<std::uint64_t>(std::max<std::int64_t>(record, 1)));
  }
  view_->update();
}

// The record's time takes the date of the records before it: they are read once per record.
void BarForm::ShowTitle(std::uint64_t record) {
  if (record == titled_record_) {
    return;
  }
  titled_record_ = record;
  std::ifstream in(file_.RecordFileName, std::ios::binary);
  const std::vector<RecordTime> times =
      RecordDateTimes(file_.info.start_time, ReadItemColumn(in, kDateTimeField, record).date_times);
  record_time_ = times.size() == record ? times.back().text : std::string();
  lbl_title_->setText(QString("Record %1   %2   %3")
                          .arg(record)
                          .arg(ToQString(record_time_),
                               QString::fromStdString(file_.RecordFileName.filename().string())));
}

void BarForm::MoveCursor(int step) {
  band_cursor_ = MoveBandCursor(band_cursor_, step, file_.info.RecordMode);
  Redraw();
}

// The record list keeps the choice, as a redraw reads the record from it.
void BarForm::StepRecord(int step) {
  const int index = combo_no_.findText(
      QString::number(static_cast<std::int64_t>(titled_record_) + step), Qt::MatchExactly);
  if (index >= 0) {
    combo_no_.setCurrentIndex(index);
    Redraw();
  }
}

void BarForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Redraw();
}

void BarForm::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
      MoveCursor(-1);
      break;
    case Qt::Key_Right:
      MoveCursor(1);
      break;
    case Qt::Key_PageUp:
      StepRecord(-1);
      break;
    case Qt::Key_PageDown:
      StepRecord(1);
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

void BarForm::Print() {
  QPrinter printer;
  printer.setPageOrientation(QPageLayout::Landscape);
  if (dialogs_.SetUpPrinter(printer)) {
    PrintOn(printer);
  }
}

void BarForm::PrintOn(QPrinter& printer) {
  toolbar_->hide();
  {
    QPainter painter(&printer);
    PaintWithTitle(painter, printer.pageLayout().paintRectPixels(printer.resolution()));
  }
  toolbar_->show();
}

void BarForm::PaintWithTitle(QPainter& painter, const QRectF& area) {
  painter.fillRect(area, Qt::white);
  const QFontMetricsF metrics(lbl_title_->font(), painter.device());
  const QRectF title(area.topLeft(), QSizeF(area.width(), 1.5 * metrics.lineSpacing()));
  painter.setFont(QFont(lbl_title_->font(), painter.device()));
  painter.setPen(Qt::black);
  painter.drawText(title.adjusted(metrics.averageCharWidth(), 0, 0, 0),
                   Qt::AlignLeft | Qt::AlignVCenter, lbl_title_->text());
  view_->PaintInto(painter, area.adjusted(0, title.height(), 0, 0));
}

void BarForm::Export() {
  const std::filesystem::path target =
      dialogs_.AskSaveFile("Export", "PNG image (*.png);;PDF document (*.pdf);;CSV values (*.csv)");
  if (target.empty()) {
    return;
  }
  std::optional<std::string> failure;
  if (HasExtension(target, ".csv")) {
    failure = WriteFileAtomically(
        target, BandLevelsCsvText(titled_record_, record_time_,
                                  fields_ ? BandLevelsOf(file_.info.RecordMode, *fields_)
                                          : std::vector<BandLevel>()));
  } else {
    const QSize size(view_->width(),
                     view_->height() + static_cast<int>(std::ceil(
                                           1.5 * QFontMetricsF(lbl_title_->font()).lineSpacing())));
    failure = ExportPicture(target, size, [this](QCPPainter& painter, QSize area) {
      PaintWithTitle(painter, QRectF(QPointF(0, 0), QSizeF(area)));
    });
  }
  if (failure) {
    dialogs_.Report(*failure, *this);
  }
}

}  // namespace halvane
