// The DTMF window: its pages, the rules it takes from the field table and the code
// list edited in place.
#include "features/dtmf_settings.h"
#include "features/dtmf_view.h"
#include "model/model_table.h"
#include "model/new_data.h"
#include "widgets/field_grid.h"
#include "widgets/filtered_edit.h"
#include "widgets/grid_cell_editing.h"
#include "widgets/spin_edit.h"
#include "widgets_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {
constexpr int kM128 = 4;  // RM-160A[128CH]:K
constexpr int kM128M = 5; // RM-160A[128CH]:M, a number-display model
constexpr int kP16 = 23;  // RP-150A[16CH]:M

void useModel(Fixture& fx, int row) {
    newDataFor(fx.data, models::identityFor(row, 0, OptionBoard::None));
    fx.data.model.refresh();
}

template <typename T> T* control(CDTMFView& view, const char* key) {
    return qobject_cast<T*>(view.fieldControl(key));
}
} // namespace

class DtmfViewTest : public QObject {
    Q_OBJECT
  private slots:
    void pagesAndRowsFollowTheModel_data();
    void pagesAndRowsFollowTheModel();
    void codeTypedIntoTheGridIsPackedAndEscPutsTheCellBack();
    void signallingChangeRefreshesOtherWindowsAndEnablesItsFields();
    void spinWrapsAndHelpTopics();
    void numberFieldsShowTheirOffWords();
    void screenshots();
};

void DtmfViewTest::pagesAndRowsFollowTheModel_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("codeRows");
    QTest::addColumn<bool>("storeAndSend");
    QTest::addColumn<bool>("numberDisplay");
    QTest::newRow("128-channel mobile") << kM128 << 9 << true << false;
    QTest::newRow("number-display mobile") << kM128M << 9 << true << true;
    QTest::newRow("16-channel portable") << kP16 << 1 << false << false;
}

void DtmfViewTest::pagesAndRowsFollowTheModel() {
    QFETCH(int, row);
    QFETCH(int, codeRows);
    QFETCH(bool, storeAndSend);
    QFETCH(bool, numberDisplay);
    Fixture fx;
    useModel(fx, row);
    fx.data.image.setBit(0xFE, 3, true); // Keypad Auto-PTT off
    CDTMFView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    QCOMPARE(view.windowTitle(), QString("T383"));
    QCOMPARE(view.tabs()->count(), 3);
    QCOMPARE(view.tabs()->tabText(0), QString("T384"));
    QCOMPARE(view.tabs()->tabText(2), QString("T414"));
    QCOMPARE(view.grid()->rowCount(), codeRows);
    QCOMPARE(view.grid()->horizontalHeaderItem(1)->text(), QString("T415"));
    QCOMPARE(control<QCheckBox>(view, "dtmf.store_send")->isEnabled(), storeAndSend);
    view.tabs()->setCurrentIndex(1);
    QCOMPARE(control<QCheckBox>(view, "dtmf.dtmf_number_display")->isVisible(), numberDisplay);
    QCOMPARE(control<QComboBox>(view, "dtmf.dtmf_signalling")->count(), numberDisplay ? 3
                                                                        : row == kP16 ? 1
                                                                                      : 2);
}

void DtmfViewTest::codeTypedIntoTheGridIsPackedAndEscPutsTheCellBack() {
    Fixture fx;
    useModel(fx, kM128);
    CDTMFView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    view.tabs()->setCurrentIndex(2);
    view.grid()->setFocus();
    view.grid()->setCurrentCell(2, 1);
    QTest::keyClick(view.grid(), '1'); // opens the editor and passes the key on
    QTest::keyClicks(view.codeEditor(), "2a#");
    QVERIFY(view.codes()->editing()->isOpen());
    QCOMPARE(view.codeEditor()->text(), QString("12A#"));
    QTest::keyClick(view.codeEditor(), Qt::Key_Return);
    QCOMPARE(fx.data.image.u8(0x5060), 0x04);
    QCOMPARE(fx.data.image.u8(0x5061), 0x04);
    QCOMPARE(fx.data.image.u8(0x5070), 0x21);
    QCOMPARE(fx.data.image.u8(0x5071), 0xFA);
    QCOMPARE(view.grid()->item(2, 1)->text(), QString("12A#"));
    QCOMPARE(view.grid()->currentRow(), 3);
    // Delete opens the editor empty; Enter then clears the row.
    view.grid()->setCurrentCell(2, 1);
    QTest::keyClick(view.grid(), Qt::Key_Delete);
    QTest::keyClick(view.codeEditor(), Qt::Key_Return);
    QCOMPARE(fx.data.image.u8(0x5061), 0xFF);
    QCOMPARE(view.grid()->item(2, 1)->text(), QString());
    // Esc in the editor puts the cell back and leaves the window open.
    QTest::keyClick(view.grid(), '5');
    QTest::keyClick(view.codeEditor(), Qt::Key_Escape);
    QVERIFY(!view.codes()->editing()->isOpen());
    QVERIFY(view.isVisible());
    QCOMPARE(fx.data.image.u8(0x5061), 0xFF);
}

void DtmfViewTest::signallingChangeRefreshesOtherWindowsAndEnablesItsFields() {
    Fixture fx;
    useModel(fx, kM128M);
    CDTMFView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    QSignalSpy changed(fx.ctx.get(), &AppContext::dataChanged);
    auto* signalling = control<QComboBox>(view, "dtmf.dtmf_signalling");
    QVERIFY(!control<QComboBox>(view, "dtmf.intermediate_code")->isEnabled());
    emit signalling->activated(1); // code sequence
    QCOMPARE(changed.count(), 1);
    QCOMPARE((fx.data.image.u8(0xFF) >> 2) & 3, 1);
    QVERIFY(control<QComboBox>(view, "dtmf.intermediate_code")->isEnabled());
    emit signalling->activated(2); // number display
    QVERIFY(control<QCheckBox>(view, "dtmf.dtmf_number_display")->isEnabled());
    QVERIFY(!control<QComboBox>(view, "dtmf.group_code")->isEnabled());
    // A field no other window shows does not make them refresh.
    emit control<QComboBox>(view, "dtmf.call_alert_transpond")->activated(1);
    QCOMPARE(changed.count(), 2);
}

void DtmfViewTest::spinWrapsAndHelpTopics() {
    Fixture fx;
    useModel(fx, kM128);
    fx.data.image.setU16(0xF7, 200);
    CDTMFView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    auto* digitTime = control<SpinEdit>(view, "dtmf.digit_time_msec");
    QCOMPARE(digitTime->text(), QString("200"));
    digitTime->stepBy(1);
    QCOMPARE(fx.data.image.u16(0xF7), 50);
    QCOMPARE(digitTime->text(), QString("50"));
    digitTime->edit()->setFocus();
    QTest::keyClick(digitTime->edit(), Qt::Key_F1);
    view.tabs()->setCurrentIndex(2);
    view.grid()->setFocus();
    QTest::keyClick(view.grid(), Qt::Key_F1);
    QCOMPARE(fx.helpTopics, (QVector<int>{0x20000 + 1114, 0x205A7}));
}

void DtmfViewTest::numberFieldsShowTheirOffWords() {
    // The words are longer than the edits take and are not digits; they are shown
    // all the same, and typing replaces them.
    Fixture fx;
    useModel(fx, kM128);
    fx.data.image.setU8(0xED, 0);
    fx.data.image.setU16(0xF5, 0xFFFF);
    CDTMFView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    auto* dKey = control<SpinEdit>(view, "dtmf.d_key_assignment_sec");
    QCOMPARE(dKey->text(), QString("T416"));
    QCOMPARE(control<SpinEdit>(view, "dtmf.auto_reset_timer_sec")->text(), QString("T69"));
    dKey->edit()->setFocus();
    dKey->edit()->selectAll();
    QTest::keyClicks(dKey->edit(), "7");
    QTest::keyClick(dKey->edit(), Qt::Key_Tab);
    QCOMPARE(fx.data.image.u8(0xED), 7);
    dKey->stepBy(-7);
    QCOMPARE(dKey->text(), QString("T416"));
}

void DtmfViewTest::screenshots() {
    if (qEnvironmentVariableIsEmpty("VRL_SCREENSHOT_DIR")) QSKIP("VRL_SCREENSHOT_DIR not set");
    for (const auto& [row, name] :
         {std::pair{kM128, "dtmf-128ch-mobile"}, std::pair{kP16, "dtmf-16ch-portable"}}) {
        Fixture fx;
        QCOMPARE(fx.lang.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"), LanguageLoadStatus::Ok);
        useModel(fx, row);
        DtmfSettings(fx.data.image, {}).setCode(1, "0123*#");
        CDTMFView view(*fx.ctx, nullptr);
        QVERIFY(showActive(&view));
        view.adjustSize();
        for (int page = 0; page < 3; ++page) {
            view.tabs()->setCurrentIndex(page);
            screenshot(&view, QString("%1-page%2").arg(name).arg(page + 1));
        }
    }
}

QTEST_MAIN(DtmfViewTest)
#include "views_dtmf_test.moc"
