// The print engine: lays the print-out's section lines (lib/output) onto pages
// and paints them on any paged device -- a printer, the print preview or a PDF
// file. Each section starts on a new page; a page never splits a line, never
// starts with a separator, and repeats the column headers of a table that goes
// on from the page before.
#pragma once

#include "output/print_content.h"

#include <QFont>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace vrl::gui {

// What the Print Out List dialog hands over.
struct PrintJob {
    std::array<bool, kPrintSectionCount> sections{};
    int startGroup = 1; // as typed; limited to the groups in use when the pages are built
    int endGroup = 1;
    QString title;      // the job title on every page (the data file's name)
};

class PrintEngine {
  public:
    // `text` gives language texts in the current language.
    PrintEngine(RadioData& data, std::function<std::string(int)> text, PrintJob job);
    // A sheet of its own (the test-mode sheet): one section of given lines.
    PrintEngine(RadioData& data, std::function<std::string(int)> text, QString title,
                std::vector<PrintLine> lines);

    // Builds the page list for the device's page size; returns the page count.
    int layout(QPagedPaintDevice& device);
    int pageCount() const { return static_cast<int>(pages_.size()); }
    // The lines of page `index` of the last layout, and the section it belongs to.
    const std::vector<const PrintLine*>& pageLines(int index) const { return pages_.at(static_cast<size_t>(index)).lines; }
    PrintSection pageSection(int index) const { return pages_.at(static_cast<size_t>(index)).section; }
    // Paints page `index` (0-based) of the last layout.
    void paintPage(QPainter& painter, int index) const;
    // Lays out and paints every page onto the device; false when the device
    // cannot be painted on (a printer that failed to start, an unwritable file).
    bool print(QPagedPaintDevice& device);

  private:
    struct Page {
        PrintSection section;
        int firstLine; // where in the section the page starts
        std::vector<const PrintLine*> lines;
    };

    void makeFonts();
    QString text(int index) const { return QString::fromUtf8(text_(index).c_str()); }
    int lineHeight(const PrintLine& line) const;
    void paintFrame(QPainter& painter, int pageNumber) const;
    void paintLine(QPainter& painter, const PrintLine& line, int y) const;
    void measureTables();

    RadioData& data_;
    std::function<std::string(int)> text_;
    PrintJob job_;
    std::vector<std::pair<PrintSection, std::vector<PrintLine>>> content_;
    std::vector<Page> pages_;
    // Geometry of the last layout, in device pixels.
    QFont body_, header_, table_, title_;
    QPaintDevice* device_ = nullptr; // of the last layout, for font metrics
    int dpi_ = 72;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0, bodyTop_ = 0;
    std::vector<int> columnX_; // x of each table column
};

// Writes every page of the engine's job to a PDF file (A4, selectable text). The
// file is written beside the target and renamed over it only when complete, so a
// failed export keeps an older file. `error` names the reason of a failure.
bool writePrintPdf(PrintEngine& engine, const QString& path, const QString& title, QString* error);

} // namespace vrl::gui
