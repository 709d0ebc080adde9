#include "graphs/graph_output.h"

#include <qcustomplot.h>

#include <QBuffer>
#include <QLayout>
#include <QPdfWriter>
#include <QPrinter>

#include "records/atomic_file.h"
#include "ui/user_dialogs.h"

namespace halvane {

namespace {

QByteArray PngBytes(QSize size, const PaintGraph& paint) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::white);
  {
    QCPPainter painter(&image);
    paint(painter, size);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

// One page of the picture's size at the resolution a PNG export has, so that texts, whose
// sizes are in points, keep their size against the rest of the picture; drawn as vectors.
QByteArray PdfBytes(QSize size, const PaintGraph& paint) {
  const int dpi = QImage(1, 1, QImage::Format_ARGB32).logicalDpiX();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(dpi);
    writer.setPageSize(QPageSize(QSizeF(size) * 72.0 / dpi, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QCPPainter painter(&writer);
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    const double scale = static_cast<double>(writer.width()) / size.width();
    painter.scale(scale, scale);
    paint(painter, size);
  }
  return bytes;
}

}  // namespace

bool HasExtension(const std::filesystem::path& path, const QString& extension) {
  return QString::fromStdString(path.extension().string())
             .compare(extension, Qt::CaseInsensitive) == 0;
}

std::optional<std::string> ExportPicture(const std::filesystem::path& target, QSize size,
                                         const PaintGraph& paint) {
  const QByteArray bytes =
      HasExtension(target, ".pdf") ? PdfBytes(size, paint) : PngBytes(size, paint);
  return WriteFileAtomically(target, std::string_view(bytes.constData(), bytes.size()));
}

void ExportGraph(UserDialogs& dialogs, QCustomPlot& graph,
                 const std::function<std::string()>& csv_text) {
  const std::filesystem::path target =
      dialogs.AskSaveFile("Export", "PNG image (*.png);;PDF document (*.pdf);;CSV values (*.csv)");
  if (target.empty()) {
    return;
  }
  std::optional<std::string> failure;
  if (HasExtension(target, ".csv")) {
    failure = WriteFileAtomically(target, csv_text());
  } else {
    failure = ExportPicture(target, graph.size(), [&graph](QCPPainter& painter, QSize size) {
      graph.toPainter(&painter, size.width(), size.height());
    });
  }
  if (failure) {
    dialogs.Report(*failure, graph);
  }
}

void PrintWindowImage(QWidget& window, QWidget& hidden, QPrinter& printer) {
  hidden.hide();
  window.layout()->activate();
  {
    QPainter painter(&printer);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(page.width() / window.width(), page.height() / window.height());
    painter.scale(scale, scale);
    window.render(&painter);
  }
  hidden.show();
  window.layout()->activate();
}

}  // namespace halvane
