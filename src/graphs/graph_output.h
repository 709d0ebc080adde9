#pragma once
// Printing a graph window and exporting a graph as a PNG or PDF picture.

#include <QSize>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QCPPainter;
class QString;
class QCustomPlot;
class QPrinter;
class QWidget;

namespace halvane {

class UserDialogs;

// Draws the graph into a painter whose area is `size` pixels.
using PaintGraph = std::function<void(QCPPainter& painter, QSize size)>;

// True when the file's name ends in `extension` (".pdf"), in any case.
bool HasExtension(const std::filesystem::path& path, const QString& extension);

// Renders the graph as a PNG image, or as a PDF page when the target's name ends in ".pdf",
// and writes the file whole. Nullopt on success, else why the file could not be written.
std::optional<std::string> ExportPicture(const std::filesystem::path& target, QSize size,
                                         const PaintGraph& paint);

// Asks where to export `graph` and writes it there whole: the CSV text `csv_text` makes for a
// name ending in ".csv", otherwise the picture. A file that cannot be written is reported.
void ExportGraph(UserDialogs& dialogs, QCustomPlot& graph,
                 const std::function<std::string()>& csv_text);

// Prints the window's image on one page of `printer`, as large as the page allows, with
// `hidden` (a toolbar, a frame of controls) left out and the rest laid out without it.
void PrintWindowImage(QWidget& window, QWidget& hidden, QPrinter& printer);

}  // namespace halvane
