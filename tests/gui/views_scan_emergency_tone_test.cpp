// The scan, emergency and operator selectable tone windows: their warnings when
// they open, fields that follow each other, the tone grid's editor, help topics;
// and, when VRL_SCREENSHOT_DIR is set (scripts/screenshot-views.sh), their pictures
// with the program's own language file.
#include "features/emergency_settings.h"
#include "features/emergency_view.h"
#include "features/operator_sel_tone_view.h"
#include "features/scan_info_view.h"
#include "model/new_data.h"
#include "widgets/grid_cell_editing.h"
#include "widgets/spin_edit.h"
#include "widgets/tone_combo.h"
#include "widgets_test_support.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {

constexpr int kRm160K = 4, kRm160M = 5, kRm150M = 3, kRp130K = 25;

// New data of a model row; `keyByte` at `keyOffset` (a key's function).
struct Doc : Fixture {
    Doc(int row, size_t keyOffset, uint8_t keyByte) {
        newDataFor(data, models::identityFor(row, 0, OptionBoard::None));
        data.model.refresh();
        data.image.fill(0x0110, 11, 0x4F); // every key None ...
        data.image.setU8(keyOffset, keyByte);
    }
};

void typeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return); // acts as Tab: stores
}

} // namespace

class ScanEmergencyToneTest : public QObject {
    Q_OBJECT
  private slots:
    void scanWarnsWithoutScanKeyAndPriorityDrivesTheOthers();
    void emergencyWarnsAndStoresTypedCodes();
    void toneGridEditorStoresAndMovesOn();
    void helpTopics();
    void screenshots();
};

void ScanEmergencyToneTest::scanWarnsWithoutScanKeyAndPriorityDrivesTheOthers() {
    Doc fx(kRm160K, 0x0113, 0x4F); // no key holds Scan (0x47)
    fx.data.image.setU8(0x20, 0xFF);
    fx.data.image.setU8(0x29, '3');
    CScanInfoView view(*fx.ctx, nullptr);
    QCOMPARE(fx.messages.asked.size(), 1);
    QCOMPARE(fx.messages.asked[0].text, QString("T37"));
    QCOMPARE(fx.messages.asked[0].caption, QString("T82"));
    auto* revert = qobject_cast<QComboBox*>(view.control("scan.revert_channel"));
    auto* lookBack = qobject_cast<SpinEdit*>(view.control("scan.look_back_time_a_sec"));
    QVERIFY(!lookBack->isEnabled());
    QSignalSpy changed(fx.ctx.get(), &AppContext::dataChanged);
    emit qobject_cast<QComboBox*>(view.control("scan.priority"))->activated(2);
    QCOMPARE(fx.data.image.u8(0x20), uint8_t('1'));
    QCOMPARE(revert->itemText(2), QString("T375"));
    QCOMPARE(revert->currentIndex(), 0); // '3' is not offered with '1': reset to '0'
    QVERIFY(lookBack->isEnabled());
    QCOMPARE(changed.count(), 1); // the channel grid and edit follow the priority
    QVERIFY(showActive(&view));
    typeInto(lookBack->edit(), "1,23");
    QCOMPARE(fx.data.image.u16(0x21), uint16_t(1200));
    QCOMPARE(lookBack->text(), QString("1.20"));
}

void ScanEmergencyToneTest::emergencyWarnsAndStoresTypedCodes() {
    for (uint8_t key : {0x4F, 0x34}) { // the key of caption 320 holds None, then Emergency
        Doc fx(kRm160M, 0x0116, key);
        CEmergencyView view(*fx.ctx, nullptr);
        QCOMPARE(fx.messages.asked.size(), key == 0x34 ? 0 : 1);
        if (key == 0x34) continue;
        QCOMPARE(fx.messages.asked[0].text, QString("T12"));
        QVERIFY(showActive(&view));
        auto* code = qobject_cast<QLineEdit*>(view.control("emergency.emergency_code"));
        typeInto(code, "12a#e"); // 'e' is no DTMF digit: dropped
        QCOMPARE(code->text(), QString("12A#"));
        for (size_t i = 0; i < 6; ++i)
            QCOMPARE(int(fx.data.image.u8(0x7280 + i)),
                     (std::vector<int>{0x21, 0xFA, 0xFF, 0xFF, 0xFF, 4})[i]);
        QVERIFY(view.control("emergency.emergency_ack_code")->hasFocus());
    }
}

void ScanEmergencyToneTest::toneGridEditorStoresAndMovesOn() {
    Doc fx(kRm160K, 0x0113, 0x47);
    fx.data.image.setU16(0x0700, 0x2013);
    COperatorSelToneView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    QTableWidget* grid = view.grid();
    QCOMPARE(grid->item(0, 1)->text(), QString("D023N"));
    QCOMPARE(grid->item(15, 2)->text(), QString("T65"));
    QCOMPARE(grid->item(15, 0)->text(), QString("16"));
    QVERIFY(grid->hasFocus());
    // Enter opens the editor; the typed tone is stored with Enter, one cell on.
    QTest::keyClick(grid, Qt::Key_Return);
    typeInto(view.editor(1)->lineEdit(), "88,5");
    QCOMPARE(fx.data.image.u16(0x0700), uint16_t(885));
    QCOMPARE(grid->item(0, 1)->text(), QString("88.5"));
    QCOMPARE(grid->currentColumn(), 2);
    // A tone chosen from the list is stored at once; Esc then puts nothing back.
    QTest::keyClick(grid, Qt::Key_Return);
    CToneCombo* combo = view.editor(2);
    combo->setCurrentIndex(combo->findText("67.0"));
    emit combo->activated(combo->currentIndex());
    QCOMPARE(fx.data.image.u16(0x0702), uint16_t(670));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Escape);
    QVERIFY(!view.editing()->isOpen());
    QCOMPARE(grid->item(0, 2)->text(), QString("67.0"));
    // Typed over and left with Esc: the cell and its word stay.
    QTest::keyClick(grid, Qt::Key_1);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Escape);
    QCOMPARE(fx.data.image.u16(0x0702), uint16_t(670));
    QTest::keyClick(grid, Qt::Key_End);
    QCOMPARE(grid->currentRow(), 15);
}

void ScanEmergencyToneTest::helpTopics() {
    Doc fx(kRm160M, 0x0116, 0x34);
    CEmergencyView emergency(*fx.ctx, nullptr);
    QVERIFY(showActive(&emergency));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1); // the emergency code
    emergency.control("emergency.emergency_reset_code")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    emergency.closeButton()->setFocus();
    QTest::keyClick(emergency.closeButton(), Qt::Key_F1);
    CScanInfoView scan(*fx.ctx, nullptr);
    QVERIFY(showActive(&scan));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1); // Priority
    scan.helpButton()->setFocus();
    QTest::keyClick(scan.helpButton(), Qt::Key_F1);
    COperatorSelToneView tones(*fx.ctx, nullptr);
    QVERIFY(showActive(&tones));
    QTest::keyClick(tones.grid(), Qt::Key_F1);
    QTest::keyClick(tones.grid(), Qt::Key_Right);
    QTest::keyClick(tones.grid(), Qt::Key_F1);
    tones.closeButton()->setFocus();
    QTest::keyClick(tones.closeButton(), Qt::Key_F1);
    QCOMPARE(fx.helpTopics, (QVector<int>{0x20740, 0x20000 + 1058, 0x20085, 0x20000 + 1100, 0x2008B,
                                          0x200D2, 0x200D5, 0x20086}));
}

void ScanEmergencyToneTest::screenshots() {
    if (qEnvironmentVariableIsEmpty("VRL_SCREENSHOT_DIR")) QSKIP("VRL_SCREENSHOT_DIR not set");
    // A 128-channel mobile and the smaller models that have the window: no 16-channel
    // portable has any of the three.
    const struct {
        int row;
        const char* suffix;
    } models[] = {{kRm160K, "128ch-mobile"},
                  {kRp130K, "32ch-portable"},
                  {kRm160M, "128ch-mobile"},
                  {kRm150M, "8ch-mobile"}};
    for (const auto& m : models) {
        Doc fx(m.row, 0x0116, 0x34);
        QCOMPARE(fx.lang.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"), LanguageLoadStatus::Ok);
        fx.data.image.setU8(0x0020, '0');
        EmergencySettings(fx.data.image).setCodeText(EmergencySettings::Code::Emergency, "12A#");
        const uint16_t tones[] = {670, 885, 0x2813, 0xA813, 1318, 0xFFFF};
        for (size_t r = 0; r < 6; ++r) {
            fx.data.image.setU16(0x0700 + 16 * r, tones[r]);
            fx.data.image.setU16(0x0702 + 16 * r, tones[5 - r]);
        }
        auto take = [&](QWidget* view, const QString& name) {
            QVERIFY(showActive(view));
            view->adjustSize();
            screenshot(view, name + "-" + m.suffix);
            delete view;
        };
        if (m.row == kRm160K || m.row == kRp130K) {
            take(new CScanInfoView(*fx.ctx, nullptr), "scan");
            take(new COperatorSelToneView(*fx.ctx, nullptr), "operator-selectable-tone");
        } else {
            take(new CEmergencyView(*fx.ctx, nullptr), "emergency");
        }
    }
}

QTEST_MAIN(ScanEmergencyToneTest)
#include "views_scan_emergency_tone_test.moc"
