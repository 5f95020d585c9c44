#include "output/print_engine.h"

#include "file/safe_save.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QBuffer>
#include <QFile>

#include <algorithm>

namespace vrl::gui {

namespace {
// Language texts of the page frame and the fonts.
constexpr int kTextFontFace = 0;
constexpr int kTextHeaderHeight = 4; // pixels at 96 dpi
constexpr int kTextTablePoints = 5;
constexpr int kTextBodyHeight = 7;   // pixels at 96 dpi
constexpr int kTextHeading = 97;
constexpr int kTextPage = 98;

// Page geometry in hundredths of an inch.
constexpr int kLabelX = 100;  // labels of label-and-value lines
constexpr int kValueX = 390;  // their values
constexpr int kLineStep = 20; // distance of body lines

qreal pointsOf(const std::string& pixels, qreal fallback) {
    bool ok = false;
    const double px = QString::fromStdString(pixels).toDouble(&ok);
    return ok && px > 0 ? px * 72.0 / 96.0 : fallback;
}
} // namespace

PrintEngine::PrintEngine(RadioData& data, std::function<std::string(int)> texts, PrintJob job)
    : data_(data), text_(std::move(texts)), job_(std::move(job)) {
    FieldContext ctx{data_, text_};
    const GroupRange groups = printGroupRange(job_.startGroup, job_.endGroup, groupsInUse(ctx));
    for (const PrintSectionInfo& s : printSections()) {
        if (!job_.sections[static_cast<size_t>(s.section)] || !printSectionOffered(s.section, data_.image))
            continue;
        std::vector<PrintLine> lines = printSectionLines(s.section, ctx, groups);
        // A section with nothing to say on this model (an area it lacks) takes no page.
        if (lines.size() > 1) content_.emplace_back(s.section, std::move(lines));
    }
    makeFonts();
}

PrintEngine::PrintEngine(RadioData& data, std::function<std::string(int)> texts, QString title,
                         std::vector<PrintLine> lines)
    : data_(data), text_(std::move(texts)) {
    job_.title = std::move(title);
    content_.emplace_back(PrintSection::Model, std::move(lines));
    makeFonts();
}

void PrintEngine::makeFonts() {
    const QString face = text(kTextFontFace);
    body_ = QFont(face);
    body_.setPointSizeF(pointsOf(text_(kTextBodyHeight), 11));
    header_ = QFont(face);
    header_.setPointSizeF(pointsOf(text_(kTextHeaderHeight), 16));
    header_.setItalic(true);
    table_ = QFont(face);
    bool ok = false;
    const int tablePoints = text(kTextTablePoints).toInt(&ok);
    table_.setPointSize(ok && tablePoints > 0 ? tablePoints : 9);
    title_ = body_;
    title_.setBold(true);
    title_.setPointSizeF(body_.pointSizeF() * 1.25);
}

int PrintEngine::lineHeight(const PrintLine& line) const {
    const int step = kLineStep * dpi_ / 100;
    switch (line.kind) {
    case PrintLine::Kind::Title: return 2 * step;
    case PrintLine::Kind::TableHead:
    case PrintLine::Kind::TableRow: return std::max(step * 4 / 5, QFontMetrics(table_, device_).height());
    default: return step;
    }
}

void PrintEngine::measureTables() {
    // One set of columns for every table: the widest text of each column, so that
    // every page of the channel list lines up alike.
    std::vector<int> widths;
    QFont bold = table_;
    bold.setBold(true);
    const QFontMetricsF metrics(bold, device_);
    for (const auto& [section, lines] : content_)
        for (const PrintLine& line : lines) {
            if (line.kind != PrintLine::Kind::TableHead && line.kind != PrintLine::Kind::TableRow) continue;
            if (widths.size() < line.cells.size()) widths.resize(line.cells.size(), 0);
            for (size_t i = 0; i < line.cells.size(); ++i)
                widths[i] = std::max(widths[i], int(metrics.horizontalAdvance(QString::fromUtf8(line.cells[i].c_str()))));
        }
    columnX_.clear();
    if (widths.empty()) return;
    const int gap = dpi_ / 8;
    int textWidth = 0;
    for (int w : widths) textWidth += w;
    const int room = width_ - gap * static_cast<int>(widths.size() - 1);
    // A table wider than the page is set in a smaller type.
    if (textWidth > room) {
        const qreal factor = qreal(room) / textWidth;
        table_.setPointSizeF(std::max(4.0, table_.pointSizeF() * factor));
        for (int& w : widths) w = int(w * factor);
    }
    int x = left_;
    for (int w : widths) {
        columnX_.push_back(x);
        x += w + gap;
    }
}

int PrintEngine::layout(QPagedPaintDevice& device) {
    device_ = &device;
    dpi_ = device.logicalDpiY();
    left_ = 0;
    top_ = 0;
    width_ = device.width();
    height_ = device.height();
    // The frame: heading, page number, rule.
    bodyTop_ = top_ + QFontMetrics(header_, &device).height() * 2;
    measureTables();
    pages_.clear();
    for (const auto& [section, lines] : content_) {
        Page page{section, 0, {}};
        int y = bodyTop_;
        const PrintLine* head = nullptr;
        for (size_t i = 0; i < lines.size(); ++i) {
            const PrintLine& line = lines[i];
            if (line.kind == PrintLine::Kind::TableHead) head = &line;
            int h = lineHeight(line);
            // A title stays with the line after it.
            if (line.kind == PrintLine::Kind::Title && i + 1 < lines.size()) h += lineHeight(lines[i + 1]);
            if (y + h > height_ && !page.lines.empty()) {
                pages_.push_back(std::move(page));
                page = Page{section, static_cast<int>(i), {}};
                y = bodyTop_;
                if (line.kind == PrintLine::Kind::TableRow && head) {
                    page.lines.push_back(head);
                    y += lineHeight(*head);
                }
            }
            if (page.lines.empty() && line.kind == PrintLine::Kind::Separator) continue;
            page.lines.push_back(&line);
            y += lineHeight(line);
        }
        if (!page.lines.empty()) pages_.push_back(std::move(page));
    }
    return pageCount();
}

void PrintEngine::paintFrame(QPainter& painter, int pageNumber) const {
    painter.setFont(header_);
    const QFontMetrics fm(header_, painter.device());
    const QRect headingRect(left_, top_, width_, fm.height());
    painter.drawText(headingRect, Qt::AlignHCenter | Qt::AlignTop, text(kTextHeading));
    painter.setFont(body_);
    const QString number = QStringLiteral("%1 %2: %3").arg(job_.title, text(kTextPage)).arg(pageNumber);
    painter.drawText(QRect(left_, top_ + fm.height() - QFontMetrics(body_, painter.device()).height(), width_,
                           QFontMetrics(body_, painter.device()).height()),
                     Qt::AlignRight | Qt::AlignTop, number);
    const int ruleY = top_ + fm.height() + fm.height() / 4;
    painter.drawLine(left_, ruleY, left_ + width_, ruleY);
}

void PrintEngine::paintLine(QPainter& painter, const PrintLine& line, int y) const {
    auto q = [](const std::string& s) { return QString::fromUtf8(s.c_str()); };
    const int h = lineHeight(line);
    auto at = [&](int x, const std::string& s, int w) {
        painter.drawText(QRect(x, y, w, h), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, q(s));
    };
    const int u = dpi_; // pixels per 100 units
    switch (line.kind) {
    case PrintLine::Kind::Title:
        painter.setFont(title_);
        at(left_, line.cells[0], width_);
        break;
    case PrintLine::Kind::Field:
        painter.setFont(body_);
        at(left_ + kLabelX * u / 100, line.cells[0], (kValueX - kLabelX) * u / 100);
        at(left_ + kValueX * u / 100, line.cells[1], width_ - kValueX * u / 100);
        break;
    case PrintLine::Kind::Pair: {
        painter.setFont(body_);
        // Two columns across the page, each a label and its value.
        const int indent = kLabelX * u / 200;
        const int half = (width_ - indent) / 2;
        const int labelW = half * 2 / 5;
        for (size_t i = 0; i + 1 < line.cells.size(); i += 2) {
            const int x = left_ + indent + static_cast<int>(i / 2) * half;
            at(x, line.cells[i], labelW);
            at(x + labelW, line.cells[i + 1], half - labelW);
        }
        break;
    }
    case PrintLine::Kind::TableHead:
    case PrintLine::Kind::TableRow: {
        QFont font = table_;
        font.setBold(line.kind == PrintLine::Kind::TableHead);
        painter.setFont(font);
        for (size_t i = 0; i < line.cells.size() && i < columnX_.size(); ++i) {
            const int right = i + 1 < columnX_.size() ? columnX_[i + 1] : left_ + width_;
            at(columnX_[i], line.cells[i], right - columnX_[i]);
        }
        break;
    }
    case PrintLine::Kind::Separator:
        painter.setFont(body_);
        at(left_ + kLabelX * u / 100, std::string(kPrintSeparator), width_);
        break;
    }
}

void PrintEngine::paintPage(QPainter& painter, int index) const {
    if (index < 0 || index >= pageCount()) return;
    paintFrame(painter, index + 1);
    int y = bodyTop_;
    for (const PrintLine* line : pages_[static_cast<size_t>(index)].lines) {
        paintLine(painter, *line, y);
        y += lineHeight(*line);
    }
}

bool PrintEngine::print(QPagedPaintDevice& device) {
    layout(device);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    for (int i = 0; i < pageCount(); ++i) {
        if (i > 0 && !device.newPage()) return false;
        paintPage(painter, i);
    }
    return painter.end();
}

bool writePrintPdf(PrintEngine& engine, const QString& path, const QString& title, QString* error) {
    // The pages are made in memory and saved through the safe save: a device, FIFO,
    // folder or read-only file is refused before any page is painted.
    const std::string target = QFile::encodeName(path).toStdString();
    if (const SaveOutcome check = checkSaveTarget(target); !check.ok) {
        if (error) *error = QString::fromStdString(check.detail);
        return false;
    }
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("VRL-73M"));
        if (!engine.print(writer)) {
            if (error) *error = QStringLiteral("%1: the pages could not be written").arg(path);
            return false;
        }
    }
    const QByteArray& bytes = pdf.data();
    const SaveOutcome saved = saveFileSafely(
        target, {std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                          static_cast<size_t>(bytes.size()))});
    if (!saved.ok) {
        if (error) *error = QString::fromStdString(saved.detail);
        return false;
    }
    return true;
}

} // namespace vrl::gui
