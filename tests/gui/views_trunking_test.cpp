// The trunking window: its three pages, fields bound through the field table, the
// grids edited in place, the speed-dial page on models without speed dials, the
// access-code dialog, and pictures of the pages for the documentation.
#include "features/access_code_dlg.h"
#include "features/trunking_view.h"
#include "link/trunk_align_dlg.h"
#include "model/new_data.h"
#include "widgets/filtered_edit.h"
#include "widgets/grid_cell_editing.h"
#include "widgets/spin_edit.h"
#include "widgets/tab_page_list.h"
#include "widgets_test_support.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {

constexpr int kMobile128 = 4;  // RM-160A[128CH]:K
constexpr int kPortable16 = 23; // RP-150A[16CH]:M

void trunkingData(Fixture& fx, int row) {
    newDataFor(fx.data, identityOfChoice(ModelChoice{row, 0, OptionBoard::Trunking, 1}));
    fx.data.model.refresh();
}

std::string board(Fixture& fx, size_t offset, size_t length) {
    return fx.data.image.readAscii(offset, length);
}

// Types into a line edit of the view and leaves it with Tab.
void typeAndTab(QWidget* edit, const QString& text) {
    edit->setFocus();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(edit))
        spin->selectAll();
    else
        static_cast<QLineEdit*>(edit)->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

} // namespace

class TrunkingViewTest : public QObject {
    Q_OBJECT
  private slots:
    void pagesAndGridRowsFollowTheModel_data();
    void pagesAndGridRowsFollowTheModel();
    void typedValuesAreStoredInTheirCharacterForm();
    void gridCellsStoreThroughTheirFields();
    void speedDialPageCannotBeSelectedWithoutSpeedDials();
    void tabHelpTopicFollowsThePage();
    void accessCodeDialogChecksBothCodes();
    void screenshots();
};

void TrunkingViewTest::pagesAndGridRowsFollowTheModel_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("codes");
    QTest::addColumn<bool>("speedDials");
    QTest::newRow("128-channel mobile") << kMobile128 << 16 << true;
    QTest::newRow("16-channel portable") << kPortable16 << 1 << false;
}

void TrunkingViewTest::pagesAndGridRowsFollowTheModel() {
    QFETCH(int, row);
    QFETCH(int, codes);
    QFETCH(bool, speedDials);
    Fixture fx;
    trunkingData(fx, row);
    CTrunkingView view(*fx.ctx, nullptr);
    QCOMPARE(view.windowTitle(), QString("T435"));
    QCOMPARE(view.tabWidget()->count(), 3);
    QCOMPARE(view.tabWidget()->tabText(1), QString("T454"));
    QCOMPARE(view.codeGrid()->rowCount(), codes);
    QCOMPARE(view.speedDialGrid()->rowCount(), 10);
    QCOMPARE(view.speedDialAdGrid()->rowCount(), 4);
    QCOMPARE(view.speedDialAdGrid()->verticalHeaderItem(3)->text(), QString("D"));
    QCOMPARE(view.tabWidget()->isTabEnabled(1), speedDials);
    QCOMPARE(view.codeGrid()->item(0, 0)->text(), QString()); // "000F" shows empty
    QCOMPARE(view.accessCodeButton()->text(), QString("T460"));
}

void TrunkingViewTest::typedValuesAreStoredInTheirCharacterForm() {
    Fixture fx;
    trunkingData(fx, kMobile128);
    CTrunkingView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    typeAndTab(view.control("trunking.system_tone"), "7");
    QCOMPARE(board(fx, 0x800B, 2), std::string("06"));
    typeAndTab(view.control("trunking.primary_code"), "12"); // refused
    QCOMPARE(board(fx, 0x8019, 8), std::string("00000000"));
    QCOMPARE(static_cast<QLineEdit*>(view.control("trunking.primary_code"))->text(), QString("0000"));
    auto* check = static_cast<QCheckBox*>(view.control("trunking.priority_subscriber"));
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(4, check->height() / 2));
    QCOMPARE(board(fx, 0x8038, 1), std::string("1"));
}

void TrunkingViewTest::gridCellsStoreThroughTheirFields() {
    Fixture fx;
    trunkingData(fx, kMobile128);
    CTrunkingView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    view.pages()->select(CTrunkingView::kSpeedDialPage);
    view.speedDialGrid()->setFocus();
    view.speedDialGrid()->setCurrentCell(0, 0);
    QTest::keyClick(view.speedDialGrid(), Qt::Key_5); // opens the editor with the digit
    QVERIFY(view.speedDialEditing()->isOpen());
    QTest::keyClicks(view.speedDialEditing()->editor(0), "55");
    QTest::keyClick(view.speedDialEditing()->editor(0), Qt::Key_Return);
    QCOMPARE(board(fx, 0x80A9, 16), std::string("FFFFFFFFFFFFF555"));
    QCOMPARE(view.speedDialGrid()->item(0, 0)->text(), QString("555"));

    // A code-list entry left open when the page changes is stored first.
    view.pages()->select(CTrunkingView::kCodeListPage);
    view.codeGrid()->setFocus();
    view.codeGrid()->setCurrentCell(2, 0);
    QTest::keyClick(view.codeGrid(), Qt::Key_4);
    QTest::keyClicks(view.codeEditing()->editor(0), "321");
    view.pages()->select(CTrunkingView::kSettingsPage);
    QCOMPARE(board(fx, 0x8065 + 8, 4), std::string("4321"));
}

void TrunkingViewTest::speedDialPageCannotBeSelectedWithoutSpeedDials() {
    Fixture fx;
    trunkingData(fx, kPortable16);
    CTrunkingView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    view.pages()->select(CTrunkingView::kCodeListPage);
    view.pages()->select(CTrunkingView::kSpeedDialPage);
    QCOMPARE(view.pages()->current(), int(CTrunkingView::kCodeListPage));
    QCOMPARE(view.speedDialGrid()->item(0, 0)->text(), QString());
}

void TrunkingViewTest::tabHelpTopicFollowsThePage() {
    Fixture fx;
    trunkingData(fx, kMobile128);
    CTrunkingView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    const int topics[] = {0x20091, 0x204DE, 0x204E2};
    for (int page = 0; page < 3; ++page) {
        view.pages()->select(page);
        view.tabWidget()->tabBar()->setFocus();
        QCOMPARE(view.currentHelpTopic(), topics[page]);
    }
}

void TrunkingViewTest::accessCodeDialogChecksBothCodes() {
    Fixture fx;
    trunkingData(fx, kMobile128);
    CTrunkingView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    QVector<int> seen;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<CAccessCodeDlg*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        QVERIFY(!dlg->verifyEdit()->isEnabled());
        QTest::keyClicks(dlg->newEdit(), "123");
        dlg->accept(); // too short: text 10
        QVERIFY(dlg->newEdit()->text().isEmpty());
        QTest::keyClicks(dlg->newEdit(), "13579");
        QVERIFY(dlg->verifyEdit()->isEnabled());
        dlg->verifyEdit()->setText("13570");
        dlg->accept(); // differ: text 41
        dlg->verifyEdit()->setText("13579");
        dlg->accept(); // text 32, answered OK
    });
    view.runAccessCodeDialog();
    for (const auto& r : fx.messages.asked) seen << r.text.section('\n', 0, 0).mid(1).toInt();
    QCOMPARE(seen, (QVector<int>{10, 41, 32}));
    QCOMPARE(board(fx, 0x8048, 9), std::string("103050709"));
}

void TrunkingViewTest::screenshots() {
    if (qEnvironmentVariableIsEmpty("VRL_SCREENSHOT_DIR")) QSKIP("VRL_SCREENSHOT_DIR not set");
    struct Shot {
        int row;
        const char* name;
    };
    for (const Shot& s : {Shot{kMobile128, "trunking-128ch-mobile"}, Shot{kPortable16, "trunking-16ch-portable"}}) {
        Fixture fx;
        QCOMPARE(fx.lang.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"), LanguageLoadStatus::Ok);
        trunkingData(fx, s.row);
        TrunkingSettings t(fx.data.image);
        t.setCode4(TrunkingSettings::kPrimaryCode, "1234");
        t.setLowerBlockText("0100");
        t.setSpeedDial(0, "5551234");
        t.setSpeedDial(10, "0800123");
        t.setCodeEntry(0, "1200");
        CTrunkingView view(*fx.ctx, nullptr);
        QVERIFY(showActive(&view));
        view.adjustSize();
        const char* pages[] = {"settings", "speed-dial", "code-list"};
        for (int page = 0; page < 3; ++page) {
            if (page == CTrunkingView::kSpeedDialPage && s.row == kPortable16) continue;
            view.pages()->select(page);
            screenshot(&view, QString("%1-%2").arg(s.name, pages[page]));
        }
    }
    Fixture fx;
    QCOMPARE(fx.lang.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"), LanguageLoadStatus::Ok);
    CTrunkAlignDlg align(*fx.ctx, {}, nullptr);
    QVERIFY(showActive(&align));
    align.adjustSize();
    screenshot(&align, "trunking-alignment");
}

QTEST_MAIN(TrunkingViewTest)
#include "views_trunking_test.moc"
