#include "graphs/bar_form.h"

#include <qcustomplot.h>

#include <QAction>
#include <QPrinter>
#include <QVBoxLayout>
#include <algorithm>
#include <fstream>

#include "control/typed_number.h"
#include "graphs/bar_graph.h"
#include "graphs/graph_output.h"

namespace halvane {

namespace {

// The smallest window, 11295 x 8865 twips, in pixels of a 96 dpi screen.
constexpr QSize kMinimumSize{753, 591};

}  // namespace

BarForm::BarForm(PlotFile file, QComboBox& combo_no, UserDialogs& dialogs,
                 TextEditorLauncher& editor, QWidget& main_window)
    : QWidget(&main_window, Qt::Window),
      file_(std::move(file)),
      combo_no_(combo_no),
      dialogs_(dialogs),
      canvas_(kBarGraphWidthUnits, kBarGraphHeightUnits),
      toolbar_(new QToolBar(this)),
      view_(new CanvasView(canvas_, this)) {
  setObjectName("BarForm");
  setWindowTitle("BarGraph");
  setAttribute(Qt::WA_DeleteOnClose);
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
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolbar_);
  layout->addWidget(view_, 1);

  resize(kMinimumSize);
  const QRect main = main_window.frameGeometry();
  move(main.left() + (main.width() - width()) / 2, main.top());
  editor.Open(file_.RecordFileName);
}

void BarForm::ShowRecord(PlotFile file) {
  file_ = std::move(file);
  Redraw();
}

void BarForm::Redraw() {
  std::ifstream in(file_.RecordFileName, std::ios::binary);
  const auto record = static_cast<std::int64_t>(
      std::clamp(ReadNumber(combo_no_.currentText().toStdString()), -1.0, 9.0e18));
  const std::optional<std::vector<std::string>> fields = ReadRecordFields(in, record);
  DrawBarGraph(canvas_, file_.info, fields ? &*fields : nullptr, band_cursor_);
  if (fields) {
    combo_no_.hide();
  }
  view_->update();
}

void BarForm::MoveCursor(int step) {
  band_cursor_ = MoveBandCursor(band_cursor_, step, file_.info.RecordMode);
  Redraw();
}

void BarForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Redraw();
}

void BarForm::Print() {
  QPrinter printer;
  if (dialogs_.SetUpPrinter(printer)) {
    PrintOn(printer);
  }
}

void BarForm::PrintOn(QPrinter& printer) {
  PrintWindowImage(*this, *toolbar_, printer);
}

void BarForm::Export() {
  const std::filesystem::path target =
      dialogs_.AskSaveFile("Export", "PNG image (*.png);;PDF document (*.pdf)");
  if (target.empty()) {
    return;
  }
  const std::optional<std::string> failure =
      ExportPicture(target, view_->size(), [this](QCPPainter& painter, QSize size) {
        view_->PaintInto(painter, QRectF(QPointF(0, 0), QSizeF(size)));
      });
  if (failure) {
    dialogs_.Report(*failure, *this);
  }
}

}  // namespace halvane
