// The Print Out List dialog's rules and the print engine's pages.
#include "channels/channel_store.h"
#include "model/new_data.h"
#include "output/print_engine.h"
#include "output/print_list_dlg.h"
#include "widgets_test_support.h"

#include <QBuffer>
#include <QCheckBox>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {
void newData(Fixture& fx, int row, int channelsInGroups) {
    newDataFor(fx.data, identityOfChoice(ModelChoice{row, 0, OptionBoard::None, 1}));
    fx.data.model.refresh();
    ChannelStore store(fx.data, [](int i) { return "T" + std::to_string(i); });
    for (int g = 0; g < channelsInGroups; ++g) store.setText("150.00000", g, 0, ChannelField::Receive);
}

void leave(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->setText(text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
}
} // namespace

class PrintTest : public QObject {
    Q_OBJECT
  private slots:
    void initialStateAndEnableRules();
    void rangeEditsAreFixedWhenLeft();
    void stateIsRememberedAndExtendedHiddenOnClassZero();
    void pagesNeverStartWithASeparatorAndRepeatTableHeads();
    void previewPicture();
    void listPicture();
};

void PrintTest::initialStateAndEnableRules() {
    Fixture fx;
    newData(fx, 5, 10);
    PrintListState state;
    CPrintOutListDlg dlg(*fx.ctx, state, nullptr);
    QVERIFY(dlg.sectionBox(PrintSection::Model)->isChecked());
    QVERIFY(dlg.sectionBox(PrintSection::Message)->isChecked());
    QVERIFY(!dlg.sectionBox(PrintSection::Channels)->isChecked());
    QCOMPARE(dlg.startEdit()->text(), QString("1"));
    QCOMPARE(dlg.endEdit()->text(), QString("10"));
    QVERIFY(!dlg.startEdit()->isEnabled());
    dlg.sectionBox(PrintSection::Channels)->setChecked(true);
    QVERIFY(dlg.startEdit()->isEnabled() && dlg.endEdit()->isEnabled());
    dlg.clearAllButton()->click();
    QVERIFY(!dlg.okButton()->isEnabled());
    QVERIFY(!dlg.previewButton()->isEnabled());
    dlg.selectAllButton()->click();
    QVERIFY(dlg.okButton()->isEnabled());
    for (const PrintSectionInfo& s : printSections()) QVERIFY(dlg.sectionBox(s.section)->isChecked());
}

void PrintTest::rangeEditsAreFixedWhenLeft() {
    Fixture fx;
    newData(fx, 5, 10);
    PrintListState state;
    CPrintOutListDlg dlg(*fx.ctx, state, nullptr);
    dlg.sectionBox(PrintSection::Channels)->setChecked(true);
    leave(dlg.endEdit(), "999");
    QCOMPARE(dlg.endEdit()->text(), QString("10"));
    leave(dlg.endEdit(), "0");
    QCOMPARE(dlg.endEdit()->text(), QString("10"));
    leave(dlg.startEdit(), "0");
    QCOMPARE(dlg.startEdit()->text(), QString("1"));
    leave(dlg.startEdit(), "12");
    QCOMPARE(dlg.startEdit()->text(), QString("10"));
    leave(dlg.endEdit(), "4");
    QCOMPARE(dlg.endEdit()->text(), QString("10")); // never below the start
}

void PrintTest::stateIsRememberedAndExtendedHiddenOnClassZero() {
    Fixture fx;
    newData(fx, 0, 1);
    PrintListState state;
    {
        CPrintOutListDlg dlg(*fx.ctx, state, nullptr);
        QVERIFY(dlg.sectionBox(PrintSection::Extended)->isHidden());
        dlg.sectionBox(PrintSection::Keys)->setChecked(true);
        dlg.sectionBox(PrintSection::Model)->setChecked(false);
        dlg.selectAllButton()->click();
        QVERIFY(!dlg.sectionBox(PrintSection::Extended)->isChecked());
        dlg.sectionBox(PrintSection::Dtmf)->setChecked(false);
        dlg.reject(); // Cancel remembers too
    }
    CPrintOutListDlg again(*fx.ctx, state, nullptr);
    QVERIFY(again.sectionBox(PrintSection::Keys)->isChecked());
    QVERIFY(!again.sectionBox(PrintSection::Dtmf)->isChecked());
    QVERIFY(!again.job().sections[static_cast<size_t>(PrintSection::Extended)]);
}

void PrintTest::pagesNeverStartWithASeparatorAndRepeatTableHeads() {
    Fixture fx;
    newData(fx, 5, 40); // 40 groups of one channel: many separators, several pages
    ChannelStore store(fx.data, [](int i) { return "T" + std::to_string(i); });
    for (int c = 1; c < 30; ++c) store.setText("150.00000", 7, c, ChannelField::Receive); // a group over a page break
    PrintJob job;
    job.sections[static_cast<size_t>(PrintSection::Channels)] = true;
    job.endGroup = 0;
    PrintEngine engine(fx.data, [](int i) { return "T" + std::to_string(i); }, job);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(300);
    const int pages = engine.layout(pdf);
    QVERIFY(pages >= 2);
    for (int p = 0; p < pages; ++p) {
        const auto& lines = engine.pageLines(p);
        QVERIFY(!lines.empty());
        QVERIFY(lines.front()->kind != PrintLine::Kind::Separator);
        QVERIFY(lines.back()->kind != PrintLine::Kind::Separator);
        // A table that goes on from the page before starts with its column headers.
        QVERIFY(lines.front()->kind != PrintLine::Kind::TableRow);
        // ... and its group heading before them.
        const bool heading = lines.front()->kind == PrintLine::Kind::Heading;
        QVERIFY(heading || lines.front()->kind == PrintLine::Kind::Title);
        if (heading) QCOMPARE(lines.at(1)->kind, PrintLine::Kind::TableHead);
    }
    QVERIFY(engine.print(pdf));
    QVERIFY(buffer.data().startsWith("%PDF"));
}

// A picture of the preview of a full print-out (VRL_SCREENSHOT_DIR only).
void PrintTest::previewPicture() {
    if (!qEnvironmentVariableIsSet("VRL_SCREENSHOT_DIR")) QSKIP("pictures only");
    Fixture fx;
    fx.lang.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng");
    newData(fx, 5, 10);
    PrintJob job;
    job.sections.fill(true);
    job.title = QStringLiteral("RM-160A-128CH-M_SN0000004711.dat");
    PrintEngine engine(fx.data, [&fx](int i) { return fx.ctx->text(i).toStdString(); }, job);
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer);
    preview.setWindowTitle(fx.ctx->text(94));
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
            [&engine](QPrinter* p) { engine.print(*p); });
    preview.resize(1100, 850);
    QVERIFY(showActive(&preview));
    QTest::qWait(300);
    screenshot(&preview, "print_preview");
}

// A picture of the Print Out List dialog in the shipped language (VRL_SCREENSHOT_DIR only).
void PrintTest::listPicture() {
    if (!qEnvironmentVariableIsSet("VRL_SCREENSHOT_DIR")) QSKIP("pictures only");
    Fixture fx;
    fx.lang.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng");
    newData(fx, 5, 10);
    PrintListState state;
    CPrintOutListDlg dlg(*fx.ctx, state, nullptr);
    dlg.sectionBox(PrintSection::Channels)->setChecked(true);
    QVERIFY(showActive(&dlg));
    screenshot(&dlg, "print_out_list");
}

QTEST_MAIN(PrintTest)
#include "output_print_test.moc"
