// The print engine: lays the print-out's section lines (lib/output) onto pages
// and paints them on any paged device -- a printer, the print preview or a PDF
// file. Every width is measured with the device's font metrics: label and value
// columns follow their longest texts, a value too long for its column wraps onto
// further lines, and table columns follow their widest cell, so nothing is cut
// and nothing crosses the margins. Each section starts on a new page; a page
// never splits a line, never starts or ends with a separator, and a table that
// goes on from the page before repeats its heading and its column headers. The
// page heading (title, file name and page number; a long file name loses its
// middle) and the footer (the whole file name, the section, the sheet count) are
// drawn in bands of their own above and below the body.
#pragma once

#include "output/print_content.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <vector>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace vrl {

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

    // The sections that have something to print, in print order (a chosen
    // section the model lacks is not among them).
    std::vector<PrintSection> sections() const;

    // Builds the page list for the device's page size; returns the page count.
    int layout(QPagedPaintDevice& device);
    int pageCount() const { return static_cast<int>(pages_.size()); }
    // The lines of page `index` of the last layout, and the section it belongs to.
    const std::vector<const PrintLine*>& pageLines(int index) const { return pages_.at(static_cast<size_t>(index)).lines; }
    PrintSection pageSection(int index) const { return pages_.at(static_cast<size_t>(index)).section; }
    // The text the heading band shows on the right of page `index` (after layout).
    QString pageLabel(int index) const;
    // Paints page `index` (0-based) of the last layout.
    void paintPage(QPainter& painter, int index) const;
    // Lays out and paints every page onto the device; false when the device
    // cannot be painted on (a printer that failed to start, an unwritable file).
    bool print(QPagedPaintDevice& device);

  private:
    // A line as laid out: its text broken into the lines that fit its columns.
    struct Block {
        const PrintLine* line;
        int height;
        std::vector<QStringList> cells;
    };
    struct Placed {
        const Block* block;
        int y;
    };
    struct Page {
        PrintSection section;
        size_t content; // index into content_
        std::vector<Placed> placed;
        std::vector<const PrintLine*> lines;
    };
    // Columns of one table (by section and table number), in device pixels.
    struct TableGeometry {
        QFont font, bold;
        int pitch = 0, gap = 0;
        std::vector<int> x, width;
    };
    // Columns of label-and-value lines and of two-item lines of one section.
    struct SectionGeometry {
        int fieldLabelX = 0, fieldLabelW = 0, fieldValueX = 0, fieldValueW = 0;
        int pairLabelW = 0, pairValueW = 0, pairHalf = 0, pairX = 0;
        std::map<int, TableGeometry> tables;
        std::vector<Block> blocks;
    };

    void makeFonts();
    QString text(int index) const { return QString::fromUtf8(text_(index).c_str()); }
    void measureSection(size_t content);
    TableGeometry measureTable(const std::vector<PrintLine>& lines, int table) const;
    void paginate(size_t content);
    int pitch(const QFont& font) const;
    void paintFrame(QPainter& painter, int index) const;
    void paintBlock(QPainter& painter, const Block& block, size_t content, int y) const;

    RadioData& data_;
    std::function<std::string(int)> text_;
    PrintJob job_;
    std::vector<std::pair<PrintSection, std::vector<PrintLine>>> content_;
    std::vector<SectionGeometry> geometry_; // per content_ entry, of the last layout
    std::vector<Page> pages_;
    // Fonts and geometry of the last layout, in device pixels.
    QFont body_, header_, table_, title_, heading_, footer_, label_;
    QPaintDevice* device_ = nullptr; // of the last layout, for font metrics
    int dpi_ = 72;
    int width_ = 0, height_ = 0;
    int headerBand_ = 0; // height of the heading band (title, page label, rule)
    int footerBand_ = 0;
    int bodyTop_ = 0, bodyBottom_ = 0;
    int gap_ = 0; // between columns
};

// Writes every page of the engine's job to a PDF file (A4, selectable text). The
// file is written beside the target and renamed over it only when complete, so a
// failed export keeps an older file. `error` names the reason of a failure.
bool writePrintPdf(PrintEngine& engine, const QString& path, const QString& title, QString* error);

} // namespace vrl
