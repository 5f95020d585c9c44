#include "output/print_engine.h"

#include "file/safe_save.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPdfWriter>
#include <QBuffer>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vrl {

namespace {
// Language texts of the page frame and the fonts.
constexpr int kTextFontFace = 0;
constexpr int kTextHeaderHeight = 4; // pixels at 96 dpi
constexpr int kTextTablePoints = 5;
constexpr int kTextBodyHeight = 7;   // pixels at 96 dpi
constexpr int kTextHeading = 97;
constexpr int kTextPage = 98;

// The smallest type a table too wide for the page is set in.
constexpr qreal kSmallestTablePoints = 6.0;
// The longest a label column gets, as a share of the room.
constexpr qreal kLabelShare = 0.5;

qreal pointsOf(const std::string& pixels, qreal fallback) {
    bool ok = false;
    const double px = QString::fromStdString(pixels).toDouble(&ok);
    return ok && px > 0 ? px * 72.0 / 96.0 : fallback;
}

QString q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

int widthOf(const QFontMetricsF& fm, const QString& s) { return static_cast<int>(std::ceil(fm.horizontalAdvance(s))); }

// `text` broken into lines no wider than `width`: at blanks where it can, inside
// a word that is wider than the whole line.
QStringList wrapText(const QString& text, const QFontMetricsF& fm, int width) {
    if (widthOf(fm, text) <= width) return {text};
    QStringList lines;
    QString line;
    for (QString word : text.split(QLatin1Char(' '))) {
        const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (widthOf(fm, joined) <= width) {
            line = joined;
            continue;
        }
        if (!line.isEmpty()) lines << line;
        while (word.size() > 1 && widthOf(fm, word) > width) {
            qsizetype n = word.size() - 1;
            while (n > 1 && widthOf(fm, word.left(n)) > width) --n;
            lines << word.left(n);
            word = word.mid(n);
        }
        line = word;
    }
    lines << line;
    return lines;
}

// The widest single word of a text: the narrowest a column can be without
// breaking a word.
int widestWord(const QFontMetricsF& fm, const QString& text) {
    int widest = 0;
    for (const QString& word : text.split(QLatin1Char(' '))) widest = std::max(widest, widthOf(fm, word));
    return widest;
}

int linesOf(const std::vector<QStringList>& cells) {
    int n = 1;
    for (const QStringList& c : cells) n = std::max(n, static_cast<int>(c.size()));
    return n;
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
        if (!lines.empty()) content_.emplace_back(s.section, std::move(lines));
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

std::vector<PrintSection> PrintEngine::sections() const {
    std::vector<PrintSection> out;
    for (const auto& [section, lines] : content_) out.push_back(section);
    return out;
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
    heading_ = body_;
    heading_.setBold(true);
    footer_ = table_;
    // No ligatures: the PDF's text reads "off", not a ligature glyph.
    for (QFont* f : {&body_, &header_, &table_, &title_, &heading_, &footer_})
        f->setStyleStrategy(QFont::PreferNoShaping);
}

// The distance of two lines in `font`: room above and below the letters, so that
// the lines never touch.
int PrintEngine::pitch(const QFont& font) const {
    return static_cast<int>(std::ceil(QFontMetricsF(font, device_).height() * 1.25));
}

PrintEngine::TableGeometry PrintEngine::measureTable(const std::vector<PrintLine>& lines, int table) const {
    TableGeometry g;
    g.font = table_;
    size_t columns = 0;
    for (const PrintLine& line : lines)
        if (line.table == table) columns = std::max(columns, line.cells.size());
    std::vector<int> want(columns), least(columns);
    // Columns stand apart by about an em of the table's type.
    g.gap = static_cast<int>(std::ceil(QFontMetricsF(table_, device_).height() * 0.75));
    const int gaps = g.gap * static_cast<int>(columns > 0 ? columns - 1 : 0);
    const int room = width_ - gaps;
    for (int attempt = 0;; ++attempt) {
        g.bold = g.font;
        g.bold.setBold(true);
        const QFontMetricsF fm(g.font, device_), fmBold(g.bold, device_);
        std::fill(want.begin(), want.end(), 0);
        std::fill(least.begin(), least.end(), 0);
        for (const PrintLine& line : lines) {
            if (line.table != table) continue;
            const bool head = line.kind == PrintLine::Kind::TableHead;
            for (size_t i = 0; i < line.cells.size(); ++i) {
                const QString cell = q(line.cells[i]);
                const int w = widthOf(head ? fmBold : fm, cell);
                want[i] = std::max(want[i], w);
                // Column headers may wrap at blanks; the values should not.
                least[i] = std::max(least[i], head ? widestWord(fmBold, cell) : w);
            }
        }
        const int wantSum = std::accumulate(want.begin(), want.end(), 0);
        const int leastSum = std::accumulate(least.begin(), least.end(), 0);
        if (wantSum <= room) {
            g.width = want;
            break;
        }
        if (leastSum <= room) {
            // Every column its narrowest, then the rest to the columns that need
            // the least to keep their header on one line.
            g.width = least;
            int spare = room - leastSum;
            std::vector<size_t> order(columns);
            std::iota(order.begin(), order.end(), size_t{0});
            std::stable_sort(order.begin(), order.end(),
                             [&](size_t a, size_t b) { return want[a] - least[a] < want[b] - least[b]; });
            for (size_t i : order) {
                const int more = std::min(spare, want[i] - least[i]);
                g.width[i] += more;
                spare -= more;
            }
            break;
        }
        if (g.font.pointSizeF() <= kSmallestTablePoints || attempt > 3 || leastSum <= 0) {
            // Still too wide in the smallest type: the columns shrink alike and
            // their texts wrap.
            g.width.clear();
            for (int w : least) g.width.push_back(std::max(1, static_cast<int>(qint64(w) * room / leastSum)));
            break;
        }
        g.font.setPointSizeF(std::max(kSmallestTablePoints, g.font.pointSizeF() * room / leastSum));
    }
    g.pitch = pitch(g.bold);
    int x = 0;
    const int total = std::accumulate(g.width.begin(), g.width.end(), 0) + gaps;
    // A narrow table starts at the labels' indent.
    if (total + dpi_ / 4 <= width_) x = dpi_ / 4;
    for (int w : g.width) {
        g.x.push_back(x);
        x += w + g.gap;
    }
    return g;
}

void PrintEngine::measureSection(size_t content) {
    const std::vector<PrintLine>& lines = content_[content].second;
    SectionGeometry& g = geometry_[content];
    const QFontMetricsF body(body_, device_);
    using K = PrintLine::Kind;

    // Label-and-value lines: the labels' column as wide as the longest label (up
    // to half the room), the values in the rest.
    g.fieldLabelX = dpi_ / 4;
    int longestLabel = 0;
    int longestPairLabel = 0;
    for (const PrintLine& line : lines) {
        if (line.kind == K::Field && !line.cells.empty())
            longestLabel = std::max(longestLabel, widthOf(body, q(line.cells[0])));
        if (line.kind == K::Pair)
            for (size_t i = 0; i < line.cells.size(); i += 2)
                longestPairLabel = std::max(longestPairLabel, widthOf(body, q(line.cells[i])));
    }
    const int fieldRoom = width_ - g.fieldLabelX - gap_;
    g.fieldLabelW = std::min(longestLabel, static_cast<int>(fieldRoom * kLabelShare));
    g.fieldValueX = g.fieldLabelX + g.fieldLabelW + gap_;
    g.fieldValueW = width_ - g.fieldValueX;
    // Two items to a line: two halves, each a label and a value column.
    g.pairX = dpi_ / 8;
    g.pairHalf = (width_ - g.pairX - 2 * gap_) / 2;
    g.pairLabelW = std::min(longestPairLabel, static_cast<int>((g.pairHalf - gap_) * kLabelShare));
    g.pairValueW = g.pairHalf - g.pairLabelW - gap_;

    g.tables.clear();
    for (const PrintLine& line : lines)
        if ((line.kind == K::TableHead || line.kind == K::TableRow) && !g.tables.count(line.table))
            g.tables.emplace(line.table, measureTable(lines, line.table));

    const int bodyPitch = pitch(body_);
    const QFontMetricsF title(title_, device_), heading(heading_, device_);
    g.blocks.clear();
    g.blocks.reserve(lines.size());
    for (const PrintLine& line : lines) {
        Block b{&line, bodyPitch, {}};
        auto cell = [&](size_t i) { return i < line.cells.size() ? q(line.cells[i]) : QString(); };
        switch (line.kind) {
        case K::Title:
            b.cells.push_back(wrapText(cell(0), title, width_));
            b.height = static_cast<int>(b.cells[0].size()) * pitch(title_) + bodyPitch / 2;
            break;
        case K::Field:
            b.cells.push_back(wrapText(cell(0), body, g.fieldLabelW));
            b.cells.push_back(wrapText(cell(1), body, g.fieldValueW));
            b.height = linesOf(b.cells) * bodyPitch;
            break;
        case K::Pair:
            for (size_t i = 0; i < line.cells.size(); ++i)
                b.cells.push_back(wrapText(cell(i), body, i % 2 == 0 ? g.pairLabelW : g.pairValueW));
            b.height = linesOf(b.cells) * bodyPitch;
            break;
        case K::Heading: {
            QStringList words;
            for (const std::string& c : line.cells) words << q(c);
            b.cells.push_back(wrapText(words.join(QStringLiteral("    ")), heading, width_));
            b.height = static_cast<int>(b.cells[0].size()) * pitch(heading_);
            break;
        }
        case K::TableHead:
        case K::TableRow: {
            const TableGeometry& t = g.tables.at(line.table);
            const QFontMetricsF fm(line.kind == K::TableHead ? t.bold : t.font, device_);
            for (size_t i = 0; i < line.cells.size() && i < t.width.size(); ++i)
                b.cells.push_back(wrapText(cell(i), fm, t.width[i]));
            b.height = linesOf(b.cells) * t.pitch;
            break;
        }
        case K::Separator: break;
        case K::Rule: b.height = bodyPitch / 2; break;
        }
        g.blocks.push_back(std::move(b));
    }
}

void PrintEngine::paginate(size_t content) {
    using K = PrintLine::Kind;
    const std::vector<Block>& blocks = geometry_[content].blocks;
    const size_t n = blocks.size();
    // The height a line needs at the foot of a page: with the lines it keeps on
    // its page (a title, a heading or column headers the line after them, a line
    // the rule that closes its block).
    std::function<int(size_t)> need = [&](size_t i) {
        int h = blocks[i].height;
        if (i + 1 >= n) return h;
        const K kind = blocks[i].line->kind;
        if (kind == K::Title || kind == K::Heading || kind == K::TableHead || kind == K::Separator)
            return h + need(i + 1);
        if (blocks[i + 1].line->kind == K::Rule) h += blocks[i + 1].height;
        return h;
    };
    const PrintSection section = content_[content].first;
    Page page{section, content, {}, {}};
    int y = bodyTop_;
    auto place = [&](const Block& b) {
        page.placed.push_back({&b, y});
        page.lines.push_back(b.line);
        y += b.height;
    };
    const Block* heading = nullptr; // of the table being printed
    const Block* head = nullptr;    // its column headers
    for (size_t i = 0; i < n; ++i) {
        const Block& b = blocks[i];
        const K kind = b.line->kind;
        if (kind == K::Heading) {
            heading = &b;
            head = nullptr;
        } else if (kind == K::TableHead) {
            head = &b;
        } else if (kind != K::TableRow) {
            heading = head = nullptr;
        }
        if (kind == K::Separator) {
            // Never at the top of a page, nor at its foot: the page break divides.
            if (page.placed.empty() || (i + 1 < n && y + need(i) > bodyBottom_)) continue;
            place(b);
            continue;
        }
        if (kind != K::Rule && y + need(i) > bodyBottom_ && !page.placed.empty()) {
            pages_.push_back(std::move(page));
            page = Page{section, content, {}, {}};
            y = bodyTop_;
            // A table that goes on: its heading and column headers again.
            if (heading && (kind == K::TableRow || kind == K::TableHead)) place(*heading);
            if (head && kind == K::TableRow) place(*head);
        }
        place(b);
    }
    if (!page.placed.empty()) pages_.push_back(std::move(page));
}

int PrintEngine::layout(QPagedPaintDevice& device) {
    device_ = &device;
    dpi_ = device.logicalDpiY();
    width_ = device.width();
    height_ = device.height();
    gap_ = dpi_ / 6;
    // The heading band: the title with the job title and page number beside it, and
    // a rule; the footer band: a rule and one row of small type.
    // A file name too long for the body type there is set smaller (and, when still
    // too long, loses its middle).
    const int room = (width_ - widthOf(QFontMetricsF(header_, device_), text(kTextHeading))) / 2 - gap_;
    const QString widest = QStringLiteral("%1 %2: 99").arg(job_.title, text(kTextPage));
    label_ = widthOf(QFontMetricsF(body_, device_), widest) <= room ? body_ : footer_;
    headerBand_ = pitch(header_) + pitch(body_) / 2;
    footerBand_ = pitch(footer_) + pitch(body_) / 2;
    bodyTop_ = headerBand_ + pitch(body_) / 2;
    bodyBottom_ = height_ - footerBand_;
    geometry_.assign(content_.size(), {});
    pages_.clear();
    for (size_t c = 0; c < content_.size(); ++c) {
        measureSection(c);
        paginate(c);
    }
    return pageCount();
}

QString PrintEngine::pageLabel(int index) const {
    const QFontMetricsF body(label_, device_);
    const QString page = QStringLiteral("%1: %2").arg(text(kTextPage)).arg(index + 1);
    // Beside the centred title, a gap away from it.
    const int room = (width_ - widthOf(QFontMetricsF(header_, device_), text(kTextHeading))) / 2 - gap_;
    if (job_.title.isEmpty()) return page;
    const QString full = job_.title + QLatin1Char(' ') + page;
    if (widthOf(body, full) <= room) return full;
    // A long file name loses its middle (the footer has it whole).
    const QString name = body.elidedText(job_.title, Qt::ElideMiddle, room - widthOf(body, QLatin1Char(' ') + page));
    return name.isEmpty() || name == QStringLiteral("\u2026") ? page : name + QLatin1Char(' ') + page;
}

void PrintEngine::paintFrame(QPainter& painter, int index) const {
    const QFontMetricsF header(header_, device_), footer(footer_, device_);
    auto baseline = [](const QFontMetricsF& fm, int top, int rowPitch) {
        return top + (rowPitch - fm.height()) / 2 + fm.ascent();
    };
    const int headerPitch = pitch(header_);
    painter.setFont(header_);
    const QString heading = text(kTextHeading);
    const qreal headY = baseline(header, 0, headerPitch);
    painter.drawText(QPointF((width_ - header.horizontalAdvance(heading)) / 2, headY), heading);
    painter.setFont(label_);
    const QFontMetricsF body(label_, device_);
    const QString label = pageLabel(index);
    painter.drawText(QPointF(width_ - body.horizontalAdvance(label), headY), label);
    const int ruleY = headerBand_ - pitch(body_) / 4;
    painter.drawLine(0, ruleY, width_, ruleY);

    // The footer band: a rule, the whole file name on the left, the section and
    // the sheet count on the right.
    const int footTop = height_ - footerBand_ + pitch(body_) / 2;
    painter.drawLine(0, footTop - pitch(body_) / 4, width_, footTop - pitch(body_) / 4);
    painter.setFont(footer_);
    QString right = QStringLiteral("%1 / %2").arg(index + 1).arg(pageCount());
    const auto& lines = content_[pages_[static_cast<size_t>(index)].content].second;
    if (!lines.empty() && lines.front().kind == PrintLine::Kind::Title && !lines.front().cells.empty())
        right = footer.elidedText(q(lines.front().cells[0]), Qt::ElideRight, width_ / 2) + QStringLiteral("    ") + right;
    const qreal footY = baseline(footer, footTop, pitch(footer_));
    painter.drawText(QPointF(width_ - footer.horizontalAdvance(right), footY), right);
    const int room = width_ - widthOf(footer, right) - 2 * gap_;
    painter.drawText(QPointF(0, footY), footer.elidedText(job_.title, Qt::ElideMiddle, room));
}

void PrintEngine::paintBlock(QPainter& painter, const Block& block, size_t content, int y) const {
    using K = PrintLine::Kind;
    const SectionGeometry& g = geometry_[content];
    // The lines of one cell from `x`, each `rowPitch` below the one before.
    auto lines = [&](const QStringList& cell, int x, int rowPitch) {
        const QFontMetricsF fm(painter.font(), device_);
        qreal base = y + (rowPitch - fm.height()) / 2 + fm.ascent();
        for (const QString& s : cell) {
            painter.drawText(QPointF(x, base), s);
            base += rowPitch;
        }
    };
    const int bodyPitch = pitch(body_);
    switch (block.line->kind) {
    case K::Title:
        painter.setFont(title_);
        lines(block.cells[0], 0, pitch(title_));
        break;
    case K::Field:
        painter.setFont(body_);
        lines(block.cells[0], g.fieldLabelX, bodyPitch);
        lines(block.cells[1], g.fieldValueX, bodyPitch);
        break;
    case K::Pair:
        painter.setFont(body_);
        for (size_t i = 0; i < block.cells.size(); ++i) {
            const int half = static_cast<int>(i / 2);
            const int x = g.pairX + half * (g.pairHalf + 2 * gap_) + (i % 2 ? g.pairLabelW + gap_ : 0);
            lines(block.cells[i], x, bodyPitch);
        }
        break;
    case K::Heading:
        painter.setFont(heading_);
        lines(block.cells[0], 0, pitch(heading_));
        break;
    case K::TableHead:
    case K::TableRow: {
        const TableGeometry& t = g.tables.at(block.line->table);
        painter.setFont(block.line->kind == K::TableHead ? t.bold : t.font);
        for (size_t i = 0; i < block.cells.size(); ++i) lines(block.cells[i], t.x[i], t.pitch);
        if (block.line->kind == K::TableHead) {
            const int under = y + block.height - t.pitch / 8;
            painter.drawLine(t.x.front(), under, t.x.back() + t.width.back(), under);
        }
        break;
    }
    case K::Separator:
        painter.setFont(body_);
        lines({q(std::string(kPrintSeparator))}, g.fieldLabelX, bodyPitch);
        break;
    case K::Rule: {
        const int ruleY = y + block.height / 2;
        painter.drawLine(0, ruleY, width_, ruleY);
        break;
    }
    }
}

void PrintEngine::paintPage(QPainter& painter, int index) const {
    if (index < 0 || index >= pageCount()) return;
    painter.save();
    painter.setPen(QPen(Qt::black, std::max(1, dpi_ / 144)));
    paintFrame(painter, index);
    const Page& page = pages_[static_cast<size_t>(index)];
    for (const Placed& p : page.placed) paintBlock(painter, *p.block, page.content, p.y);
    painter.restore();
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

namespace {
// The one place that writes the PDF file: `write` makes the pages in memory, and the
// safe save puts them in place, so a device, FIFO, folder or read-only file is refused
// (before any page is painted) and the target is replaced only when all went well.
bool savePdfFile(const QString& path, const std::function<bool(QIODevice&)>& write, QString* error) {
    const std::string target = QFile::encodeName(path).toStdString();
    if (const SaveOutcome check = checkSaveTarget(target); !check.ok) {
        if (error) *error = QString::fromStdString(check.detail);
        return false;
    }
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    if (!write(pdf)) {
        if (error) *error = QStringLiteral("%1: the pages could not be written").arg(path);
        return false;
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
} // namespace

bool writePrintPdf(PrintEngine& engine, const QString& path, const QString& title, QString* error) {
    return savePdfFile(
        path,
        [&](QIODevice& out) {
            QPdfWriter writer(&out);
            writer.setResolution(300);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
            writer.setTitle(title);
            writer.setCreator(QStringLiteral("VRL-73M"));
            return engine.print(writer);
        },
        error);
}

} // namespace vrl
