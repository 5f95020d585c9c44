// The scan window: the layout-check warning, the priority mode driving the revert
// list and the look-back fields, typed and stepped times, and help topics.
#include "app/commands.h"
#include "app/registries.h"
#include "features/scan_info_view.h"
#include "model/new_data.h"
#include "widgets/spin_edit.h"
#include "widgets_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {

constexpr int kRm160K = 4;  // mobile, 128 channels
constexpr int kRp130K = 25; // portable, 32 channels

struct Window {
    Fixture fx;
    QPointer<CScanInfoView> view;
    explicit Window(int row, bool scanKey = true, OptionBoard board = OptionBoard::None) {
        newDataFor(fx.data, models::identityFor(row, 0, board));
        fx.data.model.refresh();
        fx.data.image.fill(0x0110, 11, 0x4F);           // every key None
        if (scanKey) fx.data.image.setU8(0x0113, 0x47); // ... but one holds Scan
    }
    ~Window() { delete view.data(); }
    CScanInfoView* open() {
        view = new CScanInfoView(*fx.ctx, nullptr);
        return view;
    }
    QComboBox* combo(const char* key) { return qobject_cast<QComboBox*>(view->control(key)); }
    SpinEdit* spin(const char* key) { return qobject_cast<SpinEdit*>(view->control(key)); }
    void type(const char* key, const QString& text) {
        SpinEdit* s = spin(key);
        s->edit()->setFocus();
        s->edit()->selectAll();
        QTest::keyClicks(s->edit(), text);
        QTest::keyClick(s->edit(), Qt::Key_Tab);
    }
};

} // namespace

class ScanInfoViewTest : public QObject {
    Q_OBJECT
  private slots:
    void registeredWithTexts();
    void warnsWhenNoKeyHoldsScan();
    void priorityDrivesRevertListAndLookBack();
    void typedAndSteppedTimes();
    void modelRulesDisableGroupAndOffHookScan();
    void helpTopics();
};

void ScanInfoViewTest::registeredWithTexts() {
    QVERIFY(FunctionWindowRegistry::instance().find(cmd::kScan));
    Window w(kRm160K);
    w.open();
    QCOMPARE(w.view->windowTitle(), QString("T364"));
    QCOMPARE(w.view->closeButton()->text(), QString("Close"));
    QCOMPARE(w.combo("scan.priority")->count(), 3);
    QCOMPARE(w.combo("scan.priority")->itemText(2), QString("T367"));
    QCOMPARE(qobject_cast<QCheckBox*>(w.view->control("scan.off_hook_scan"))->text(),
             QString("T382"));
    QVERIFY(w.fx.messages.asked.isEmpty());
}

void ScanInfoViewTest::warnsWhenNoKeyHoldsScan() {
    Window w(kRm160K, false);
    w.open();
    QCOMPARE(w.fx.messages.asked.size(), 1);
    QCOMPARE(w.fx.messages.asked[0].text, QString("T37"));
    QCOMPARE(w.fx.messages.asked[0].caption, QString("T82"));
    QCOMPARE(w.fx.messages.asked[0].icon, MessageService::Icon::Warning);
    QVERIFY(w.view); // the window still opens
}

void ScanInfoViewTest::priorityDrivesRevertListAndLookBack() {
    Window w(kRm160K);
    w.fx.data.image.setU8(0x20, 0xFF);
    w.fx.data.image.setU8(0x29, '3');
    w.open();
    QVERIFY(!w.spin("scan.look_back_time_a_sec")->isEnabled());
    QCOMPARE(w.combo("scan.revert_channel")->count(), 4);
    QCOMPARE(w.combo("scan.revert_channel")->currentText(), QString("T374"));
    QSignalSpy changed(w.fx.ctx.get(), &AppContext::dataChanged);
    emit w.combo("scan.priority")->activated(2);
    QCOMPARE(w.fx.data.image.u8(0x20), uint8_t('1'));
    QCOMPARE(w.fx.data.image.u8(0x29), uint8_t('0')); // '3' is not offered with '1'
    QCOMPARE(w.combo("scan.revert_channel")->count(), 4);
    QCOMPARE(w.combo("scan.revert_channel")->itemText(2), QString("T375"));
    QCOMPARE(w.combo("scan.revert_channel")->currentIndex(), 0);
    QVERIFY(w.spin("scan.look_back_time_a_sec")->isEnabled());
    QCOMPARE(changed.count(), 1); // the channel grid and edit follow the priority
}

void ScanInfoViewTest::typedAndSteppedTimes() {
    Window w(kRm160K);
    w.fx.data.image.setU8(0x20, '0');
    w.fx.data.image.setU16(0x23, 500);
    w.open();
    QVERIFY(showActive(w.view));
    w.type("scan.look_back_time_a_sec", "1,23");
    QCOMPARE(w.fx.data.image.u16(0x21), uint16_t(1200));
    QCOMPARE(w.spin("scan.look_back_time_a_sec")->text(), QString("1.20"));
    w.spin("scan.look_back_time_b_sec")->stepBy(-1);
    QCOMPARE(w.fx.data.image.u16(0x23), uint16_t(5000));
    QCOMPARE(w.spin("scan.look_back_time_b_sec")->text(), QString("5.00"));
    w.type("scan.dropout_delay_time_sec", "");
    QCOMPARE(w.fx.data.image.u16(0x25), uint16_t(3));
    w.type("scan.dwell_time_sec", "999");
    QCOMPARE(w.spin("scan.dwell_time_sec")->text(), QString("300"));
}

void ScanInfoViewTest::modelRulesDisableGroupAndOffHookScan() {
    Window portable(kRp130K);
    portable.open();
    QVERIFY(!portable.combo("scan.group_scan")->isEnabled());
    QVERIFY(!portable.view->control("scan.off_hook_scan")->isEnabled());
    Window trunking(kRp130K, true, OptionBoard::Trunking);
    trunking.open();
    QVERIFY(trunking.combo("scan.group_scan")->isEnabled());
    Window mobile(kRm160K);
    mobile.open();
    QVERIFY(mobile.view->control("scan.off_hook_scan")->isEnabled());
    QSignalSpy changed(mobile.fx.ctx.get(), &AppContext::dataChanged);
    emit mobile.combo("scan.group_scan")->activated(1);
    QCOMPARE(mobile.fx.data.image.u8(0x2A), uint8_t('1'));
    QCOMPARE(changed.count(), 1); // the group edit window follows
}

void ScanInfoViewTest::helpTopics() {
    Window w(kRm160K);
    w.open();
    QVERIFY(showActive(w.view));
    QVERIFY(w.combo("scan.priority")->hasFocus());
    QTest::keyClick(w.combo("scan.priority"), Qt::Key_F1);
    w.spin("scan.dwell_time_sec")->edit()->setFocus();
    QTest::keyClick(w.spin("scan.dwell_time_sec")->edit(), Qt::Key_F1);
    w.view->closeButton()->setFocus();
    QTest::keyClick(w.view->closeButton(), Qt::Key_F1);
    QCOMPARE(w.fx.helpTopics, (QVector<int>{0x20000 + 1100, 0x20000 + 1107, 0x2008B}));
}

QTEST_MAIN(ScanInfoViewTest)
#include "views_scan_info_test.moc"
