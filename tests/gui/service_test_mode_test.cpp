// Test Mode and Tuning Mode from the Program menu against the simulated radio: the
// opening refusals, the dialog's fields and indicators, keying, Tuning Mode for a
// mobile and a portable item, and the ways out that leave the radio unkeyed with "E".
#include "link_test_support.h"

#include "app/commands.h"
#include "link/texts.h"
#include "service/radio_guard.h"
#include "service/test_mode_dlg.h"
#include "service/tuning_mode_dlg.h"
#include "widgets/spin_edit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTimer>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

constexpr int kMobileRow = 0;    // RM-140A[8CH]:K
constexpr int kMarket5Row = 2;   // RM-140A[8CH]:(N)E
constexpr int kPortableRow = 15; // RP-110A[8CH]:K

// A radio written with the program's data: both hold the New data of `row`.
struct ServiceBench {
    std::unique_ptr<LinkBench> bench;
    explicit ServiceBench(int row, std::function<void(sim::Memory&)> change = {}) {
        const ModelIdentity id = models::identityFor(row, 0, OptionBoard::None);
        RadioData data;
        newDataFor(data, id);
        sim::SimConfig config;
        std::copy_n(data.image.bytes().begin() + 0xA7, 8, config.identity.begin());
        sim::Memory memory{};
        std::copy_n(data.image.bytes().begin(), memory.size(), memory.begin());
        if (change) change(memory);
        bench = std::make_unique<LinkBench>(config, memory);
        if (!bench->started()) return;
        newDataFor(bench->ctx().data(), id);
        bench->ctx().data().model.refresh();
        serviceMemory() = {};
    }
    LinkBench& operator*() { return *bench; }
    LinkBench* operator->() { return bench.get(); }
    bool radioLeft() const { return !bench->radio->inTestState() && !bench->radio->keyed(); }
    void useProgramTexts() {
        QCOMPARE(bench->ctx().lang().loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"),
                 LanguageLoadStatus::Ok);
    }
};

bool green(QLabel* l) {
    return l->styleSheet().contains("0, 255, 0");
}
bool red(QLabel* l) {
    return l->styleSheet().contains("255, 60, 60");
}

} // namespace

class TestModeGuiTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { dropPendingDialogs(); }

    void matchingRadioShowsTheDialogAndKeysWithTx() {
        ServiceBench b(kMobileRow);
        QVERIFY(b->started());
        QString rx, items;
        bool idleGreen = false, keyedRed = false, disabledWhileKeyed = false, radioKeyed = false;
        onDialog<CTestModeDlg>([&](CTestModeDlg* dlg) {
            rx = dlg->receiveFrequency()->text();
            items = QString::number(dlg->itemList()->count());
            idleGreen = green(dlg->indicator(0)) && green(dlg->indicator(2)) &&
                        !red(dlg->indicator(1)) && !red(dlg->indicator(3));
            QVERIFY(dlg->printButton()->isEnabled()); // prints the test-mode sheet
            dlg->transmitButton()->click();
            radioKeyed = b->radio->keyed();
            keyedRed =
                red(dlg->indicator(1)) && red(dlg->indicator(3)) && !green(dlg->indicator(0));
            disabledWhileKeyed =
                !dlg->channelSpin()->isEnabled() && !dlg->itemList()->isEnabled() &&
                !dlg->bandwidthCombo()->isEnabled() && dlg->transmitButton()->isChecked();
            QTest::keyClick(dlg, Qt::Key_Escape);
        });
        b->frame().runCommand(cmd::kTestMode);
        QCOMPARE(rx, QString::fromStdString(TestFrequencyTable(b->ctx().data()).receiveText(1)));
        QCOMPARE(items, QStringLiteral("12"));
        QVERIFY(idleGreen);
        QVERIFY(radioKeyed);
        QVERIFY(keyedRed);
        QVERIFY(disabledWhileKeyed);
        QVERIFY(b.radioLeft());
        QVERIFY(!b->service->link().isOpen());
        QVERIFY(b->messages().asked.empty());
    }

    // Quit, logout and termination signals all run endRadioWork(): the radio is
    // unkeyed and out of its test state before it returns, and the windows close.
    void quitOrLogoutWhileKeyedUnkeysAtOnce() {
        ServiceBench b(kMobileRow);
        QVERIFY(b->started());
        bool keyed = false, leftAtOnce = false;
        onDialog<CTestModeDlg>([&](CTestModeDlg* dlg) {
            dlg->transmitButton()->click();
            keyed = b->radio->keyed();
            endRadioWork();
            leftAtOnce = b.radioLeft();
        });
        b->frame().runCommand(cmd::kTestMode);
        QVERIFY(keyed);
        QVERIFY(leftAtOnce);
        QVERIFY(!b->service->link().isOpen());
        QVERIFY(b->messages().asked.empty());
    }

    void aRadioWithOtherTestFrequenciesIsRefusedWithText29() {
        ServiceBench b(kMobileRow, [](sim::Memory& m) { m[0x0140 + 40 + 5] = 0x33; });
        QVERIFY(b->started());
        bool missed = false;
        onDialog<CTestModeDlg>([](CTestModeDlg* dlg) { dlg->reject(); }, &missed);
        b->frame().runCommand(cmd::kTestMode);
        QVERIFY(missed);
        QCOMPARE(b->messages().texts(), QStringList{textOf(texts::kTestChannelsDiffer)});
        QCOMPARE(b->messages().asked.front().caption, textOf(texts::kCaptionError));
        QVERIFY(b.radioLeft());
    }

    void channelAndSignallingFieldsDriveTheRadio() {
        ServiceBench b(kMarket5Row);
        QVERIFY(b->started());
        bool bandwidthFixed = false;
        QString signallingText;
        int channel = 0;
        onDialog<CTestModeDlg>([&](CTestModeDlg* dlg) {
            bandwidthFixed = !dlg->bandwidthCombo()->isEnabled();
            dlg->channelSpin()->setFocus();
            dlg->channelSpin()->stepBy(-1); // from 1 back over the blank 7-16 to 6
            channel = b->radio->testChannel();
            dlg->signallingSpin()->edit()->setFocus();
            dlg->signallingSpin()->edit()->selectAll();
            QTest::keyClicks(dlg->signallingSpin()->edit(), QStringLiteral("9"));
            QTest::keyClick(dlg->signallingSpin()->edit(), Qt::Key_Return); // moves on: stores
            signallingText = dlg->transmitSignalling()->text();
            dlg->reject();
        });
        b->frame().runCommand(cmd::kTestMode);
        QVERIFY(bandwidthFixed);
        QCOMPARE(channel, 6);
        QCOMPARE(b->radio->signalling(), 9);
        QCOMPARE(signallingText, QStringLiteral("DTMF ENCODE (CODE:159D)"));
        QVERIFY(b.radioLeft());
    }

    void tuningAMobileItemStepsTheRadioAndOkKeepsIt() {
        ServiceBench b(kMobileRow);
        QVERIFY(b->started());
        int tabs = 0;
        bool volumeShown = false;
        QString label;
        const uint8_t before = b->radio->keptValue(0x12);
        onDialog<CTestModeDlg>([&](CTestModeDlg* dlg) {
            onDialog<CTuningModeDlg>([&](CTuningModeDlg* t) {
                tabs = t->tabs()->count();
                volumeShown = t->volumeGroup()->isVisibleTo(t);
                t->valueSlider()->setFocus();
                QTest::keyClick(t->valueSlider(), Qt::Key_Right);
                label = t->valueLabel()->text();
                t->accept();
            });
            dlg->itemList()->setCurrentRow(1);
            dlg->itemList()->setFocus();
            QTest::keyClick(dlg->itemList(), Qt::Key_Return);
            dlg->reject();
        });
        b->frame().runCommand(cmd::kTestMode);
        QCOMPARE(tabs, 6);
        QVERIFY(volumeShown);
        QCOMPARE(label, QStringLiteral("Data : %1").arg(before + 2, 3));
        QCOMPARE(int(b->radio->keptValue(0x12)), before + 1);
        QVERIFY(b.radioLeft());
    }

    void valueSpinSentOneStepPerTypedDigit() {
        ServiceBench b(kMobileRow);
        QVERIFY(b->started());
        int commands = -1, value = -1;
        onDialog<CTestModeDlg>([&](CTestModeDlg* dlg) {
            onDialog<CTuningModeDlg>([&](CTuningModeDlg* t) {
                const int before = b->radio->commandCount();
                QApplication::setActiveWindow(t);
                t->valueSpin()->setFocus();
                t->valueSpin()->selectAll();
                QTest::keyClicks(t->valueSpin(), QStringLiteral("200"));
                QTest::keyClick(t->valueSpin(), Qt::Key_Return);
                commands = b->radio->commandCount() - before;
                value = b->radio->itemValue(0x12);
                t->reject();
            });
            dlg->itemList()->setCurrentRow(1);
            dlg->openSelectedItem();
            dlg->reject();
        });
        b->frame().runCommand(cmd::kTestMode);
        QCOMPARE(commands, 1);
        QCOMPARE(value, 199);
    }

    void portableBatteryLevelShowsALiveReadingWhileKeyed() {
        ServiceBench b(kPortableRow);
        QVERIFY(b->started());
        b->radio->setItemValue(0x1E, 0x41);
        bool sliderHidden = false, volumeHidden = false, timerRuns = false;
        QString idle, keyed;
        onDialog<CTestModeDlg>([&](CTestModeDlg* dlg) {
            onDialog<CTuningModeDlg>([&](CTuningModeDlg* t) {
                sliderHidden = !t->valueSlider()->isVisibleTo(t);
                volumeHidden = !t->volumeGroup()->isVisibleTo(t);
                idle = t->valueLabel()->text();
                t->toggleTransmit();
                timerRuns = t->liveTimer()->isActive() &&
                            t->liveTimer()->interval() == CTuningModeDlg::kLiveReadingMs;
                t->takeLiveReading();
                keyed = t->valueLabel()->text();
                t->reject();
            });
            dlg->itemList()->setCurrentRow(0);
            dlg->openSelectedItem();
            dlg->reject();
        });
        b->frame().runCommand(cmd::kTestMode);
        QVERIFY(sliderHidden);
        QVERIFY(volumeHidden);
        QCOMPARE(idle, QStringLiteral("Data : ***"));
        QVERIFY(timerRuns);
        QCOMPARE(keyed, QStringLiteral("Data : %1").arg(0x42, 3));
        QVERIFY(b.radioLeft());
    }

    void cancelAtARetryBoxInTuningClosesBothAndLeavesTheTestState() {
        ServiceBench b(kMobileRow);
        QVERIFY(b->started());
        int result = -1;
        onDialog<CTestModeDlg>([&](CTestModeDlg* dlg) {
            onDialog<CTuningModeDlg>([&](CTuningModeDlg* t) {
                t->toggleTransmit();
                b->radio->dropNextCommands(1);
                b->messages().answer({QMessageBox::Cancel});
                t->valueSlider()->setFocus();
                QTest::keyClick(t->valueSlider(), Qt::Key_End);
            });
            dlg->itemList()->setCurrentRow(3);
            dlg->openSelectedItem();
            result = dlg->result();
        });
        b->frame().runCommand(cmd::kTestMode);
        QCOMPARE(result, CTestModeDlg::kLinkFailed);
        QCOMPARE(b->messages().texts(), QStringList{textOf(texts::kCommFailed)});
        QVERIFY(b.radioLeft());
        QVERIFY(!b->service->link().isOpen());
    }

    void helpFollowsTheSelectedItem() {
        ServiceBench b(kPortableRow);
        QVERIFY(b->started());
        int onList = 0, onTx = 0, tuningTopic = 0;
        onDialog<CTestModeDlg>([&](CTestModeDlg* dlg) {
            QApplication::setActiveWindow(dlg);
            dlg->itemList()->setCurrentRow(3); // text 503
            dlg->itemList()->setFocus();
            onList = dlg->helpTopic();
            dlg->transmitButton()->setFocus();
            onTx = dlg->helpTopic();
            onDialog<CTuningModeDlg>([&](CTuningModeDlg* t) {
                tuningTopic = t->helpTopic();
                t->reject();
            });
            dlg->itemList()->setCurrentRow(14); // text 515
            dlg->openSelectedItem();
            dlg->reject();
        });
        b->frame().runCommand(cmd::kTestMode);
        QCOMPARE(onList, 0x20000 + 409);
        QCOMPARE(onTx, CTestModeDlg::kHelpTopic);
        QCOMPARE(tuningTopic, 0x20000 + 416);
    }

    void screenshots() {
        if (qEnvironmentVariableIsEmpty("VRL_SCREENSHOT_DIR")) QSKIP("VRL_SCREENSHOT_DIR not set");
        for (int row : {kMobileRow, kPortableRow}) {
            ServiceBench b(row);
            QVERIFY(b->started());
            b.useProgramTexts();
            const bool mobile = row == kMobileRow;
            onDialog<CTestModeDlg>([&](CTestModeDlg* dlg) {
                if (mobile) {
                    dlg->signallingSpin()->edit()->setFocus();
                    dlg->signallingSpin()->edit()->selectAll();
                    QTest::keyClicks(dlg->signallingSpin()->edit(), QStringLiteral("11"));
                    QTest::keyClick(dlg->signallingSpin()->edit(), Qt::Key_Return);
                    screenshot(dlg, QStringLiteral("test_mode_idle"));
                    dlg->toggleTransmit();
                    screenshot(dlg, QStringLiteral("test_mode_keyed"));
                    dlg->toggleTransmit();
                }
                onDialog<CTuningModeDlg>([&](CTuningModeDlg* t) {
                    if (!mobile) t->toggleTransmit();
                    screenshot(t, mobile ? QStringLiteral("tuning_mode_mobile")
                                         : QStringLiteral("tuning_mode_portable"));
                    t->reject();
                });
                dlg->itemList()->setCurrentRow(mobile ? 1 : 3);
                dlg->openSelectedItem();
                dlg->reject();
            });
            b->frame().runCommand(cmd::kTestMode);
        }
    }
};

QTEST_MAIN(TestModeGuiTest)
#include "service_test_mode_test.moc"
