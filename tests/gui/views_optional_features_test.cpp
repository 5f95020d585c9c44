// The optional features window: its pages, the battery warning group per model,
// the focus after a time-out timer change, spins, enable rules and the refresh of
// other windows after a name length change.
#include "features/optional_features_view.h"
#include "model/new_data.h"
#include "widgets/spin_edit.h"
#include "widgets/tab_page_list.h"
#include "widgets_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {

constexpr int kMobile128 = 4;    // RM-160A[128CH]:K
constexpr int kPortable16 = 23;  // RP-150A[16CH]:M, with the battery warning
constexpr int kPortable128 = 24; // RP-150A[128CH]:C

struct Window {
    Fixture fx;
    QPointer<COptionalFeaturesView> view;
    explicit Window(int row, void (*prepare)(CDataImage&) = nullptr) {
        newDataFor(fx.data, models::identityFor(row, 0, OptionBoard::None));
        fx.data.model.refresh();
        if (prepare) prepare(fx.data.image);
        view = new COptionalFeaturesView(*fx.ctx, nullptr);
    }
    ~Window() { delete view.data(); }
    QWidget* control(const char* name) const {
        return view->control(std::string("optional.") + name);
    }
    SpinEdit* spin(const char* name) const { return static_cast<SpinEdit*>(control(name)); }
    QCheckBox* check(const char* name) const { return static_cast<QCheckBox*>(control(name)); }
    // Types into a spin's edit as a person would.
    void type(const char* name, const QString& text) {
        QLineEdit* edit = spin(name)->edit();
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    bool hasFocus(const char* name) const {
        QWidget* c = control(name);
        return c->hasFocus() || c->isAncestorOf(QApplication::focusWidget());
    }
};

} // namespace

class OptionalFeaturesViewTest : public QObject {
    Q_OBJECT
  private slots:
    void titleTabsAndGroupTexts();
    void batteryWarningGroupOnlyOnItsModels_data();
    void batteryWarningGroupOnlyOnItsModels();
    void timerChangeSteersTheFocus_data();
    void timerChangeSteersTheFocus();
    void controlToneOffDisablesBusyLockoutAndKeepsItsByte();
    void nameLengthChangeRefreshesOtherWindows();
    void helpTopicsAndCtrlTab();
    void screenshots();
};

void OptionalFeaturesViewTest::titleTabsAndGroupTexts() {
    Window w(kMobile128);
    QCOMPARE(w.view->windowTitle(), QString("T250"));
    QTabWidget* tabs = w.view->tabs()->tabs();
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(0), QString("T251"));
    QCOMPARE(tabs->tabText(1), QString("T252"));
    QCOMPARE(w.view->modeGroup()->title(), QString("T296"));
    QCOMPARE(w.view->batteryWarningGroup()->title(), QString("T272"));
    QCOMPARE(static_cast<QComboBox*>(w.control("key_lock"))->itemText(1), QString("T289"));
}

void OptionalFeaturesViewTest::batteryWarningGroupOnlyOnItsModels_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("shown");
    QTest::newRow("RP-150A[16CH]:M") << kPortable16 << true;
    QTest::newRow("RP-450A[16CH]:M") << 34 << true;
    QTest::newRow("RP-150A[128CH]:C") << kPortable128 << false;
    QTest::newRow("RM-160A[128CH]:K") << kMobile128 << false;
}

void OptionalFeaturesViewTest::batteryWarningGroupOnlyOnItsModels() {
    QFETCH(int, row);
    QFETCH(bool, shown);
    Window w(row);
    QVERIFY(showActive(w.view));
    QCOMPARE(w.view->batteryWarningGroup()->isVisible(), shown);
    for (const char* name : {"pre_alert_tone", "mute_during_alert_tone", "tx_inhibit_tone"})
        QCOMPARE(w.control(name)->isVisible(), shown);
    // Page 2's members stay hidden behind page 1.
    QVERIFY(!w.control("squelch_level")->isVisible());
}

void OptionalFeaturesViewTest::timerChangeSteersTheFocus_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("next");
    QTest::newRow("mobile on") << kMobile128 << "100" << 90 << "tot_pre_alert_sec";
    QTest::newRow("mobile off") << kMobile128 << "0" << 1200 << "radio_password";
    QTest::newRow("portable 16 off") << kPortable16 << "0" << 600 << "data_password";
    QTest::newRow("portable 16 on") << kPortable16 << "999" << 300 << "tot_pre_alert_sec";
}

void OptionalFeaturesViewTest::timerChangeSteersTheFocus() {
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(QString, next);
    Window w(row);
    QVERIFY(showActive(w.view));
    w.type("time_out_timer_tot_sec", typed);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // Enter acts as Tab
    QCOMPARE(int(w.fx.data.image.u16(0x10)), stored);
    QVERIFY2(w.hasFocus(next.toLatin1().constData()),
             qPrintable(QApplication::focusWidget()->metaObject()->className()));
    const bool off = stored == 600 || stored == 1200;
    QCOMPARE(w.spin("tot_rekey_time_sec")->isEnabled(), !off);
    QCOMPARE(w.spin("time_out_timer_tot_sec")->text(),
             off ? QString("T69") : QString::number(stored));
}

void OptionalFeaturesViewTest::controlToneOffDisablesBusyLockoutAndKeepsItsByte() {
    Window w(kMobile128, [](CDataImage& image) {
        image.setU8(0x84, 0x07);
        image.setU8(0x2F7, 0x00);
    });
    QVERIFY(showActive(w.view));
    QVERIFY(w.check("busy_channel_lockout_tone")->isEnabled());
    QVERIFY(w.check("busy_channel_lockout_tone")->isChecked());
    w.check("control_tone")->click();
    QCOMPARE(w.fx.data.image.u8(0x84), 0x05);
    QVERIFY(!w.check("busy_channel_lockout_tone")->isEnabled());
    QCOMPARE(w.fx.data.image.u8(0x2F7), 0x00);
}

void OptionalFeaturesViewTest::nameLengthChangeRefreshesOtherWindows() {
    Window w(kMobile128);
    QVERIFY(showActive(w.view));
    QSignalSpy others(w.fx.ctx.get(), &AppContext::dataChanged);
    w.type("group_name_text_length", "3");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(w.fx.data.image.u8(0x8D), 3);
    QCOMPARE(w.spin("channel_name_text_length")->text(), QString("5"));
    QCOMPARE(others.count(), 1);
    w.type("squelch_level", "7"); // not shown elsewhere
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(w.fx.data.image.u8(0x1E), 7);
    QCOMPARE(others.count(), 1);
}

void OptionalFeaturesViewTest::helpTopicsAndCtrlTab() {
    Window w(kMobile128);
    QVERIFY(showActive(w.view));
    QVERIFY(w.hasFocus("channel_name_text_length"));
    w.spin("minimum_volume")->edit()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w.view->tabs()->current(), 1);
    QVERIFY(w.control("squelch_level")->isVisible());
    w.view->closeButton()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.view->closeButton(), Qt::Key_F1);
    QCOMPARE(w.fx.helpTopics, (QVector<int>{0x20000 + 1020, 0x20000 + 131}));
}

// Pictures for the documentation with the program's own language file, when
// VRL_SCREENSHOT_DIR names the folder (scripts/screenshot-views.sh).
void OptionalFeaturesViewTest::screenshots() {
    if (qEnvironmentVariableIsEmpty("VRL_SCREENSHOT_DIR")) QSKIP("VRL_SCREENSHOT_DIR not set");
    for (const auto& [row, name] : {std::pair{kMobile128, "optional_features_mobile128"},
                                    std::pair{kPortable16, "optional_features_portable16"}}) {
        Window w(row);
        QCOMPARE(w.fx.lang.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"), LanguageLoadStatus::Ok);
        w.view->retranslate();
        w.view->refresh();
        QVERIFY(showActive(w.view));
        w.view->adjustSize();
        screenshot(w.view, QString(name) + "_general");
        w.view->tabs()->select(1);
        screenshot(w.view, QString(name) + "_operation");
    }
}

QTEST_MAIN(OptionalFeaturesViewTest)
#include "views_optional_features_test.moc"
