// Radio Information, Check Sum and the Communication Port dialog, run from the main
// frame's commands against the simulated radio.
#include "link_test_support.h"

#include "app/commands.h"
#include "file/checksum_dlg.h"
#include "link/comm_port_dlg.h"
#include "link/radio_info_dlg.h"
#include "link/texts.h"
#include "link/transfer.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

const IdentityBytes kRow0 = identityOf("M1400", 0x04);

sim::SimConfig radioConfig(const char* firmware = "v2.30") {
    sim::SimConfig config;
    config.identity = kRow0;
    config.version = sim::firmwareFromText(firmware);
    config.info = sim::infoBlockWithSerial("SN0012345678");
    return config;
}

} // namespace

class LinkQueriesTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { dropPendingDialogs(); }

    void radioInformationShowsModelBandAndSerial() {
        LinkBench bench(radioConfig(), radioMemory(kRow0, 1));
        QVERIFY(bench.started());
        const std::vector<uint8_t> before(bench.image().bytes().begin(), bench.image().bytes().end());
        QString model, band, serial;
        onDialog<CRadioInfoDlg>([&](CRadioInfoDlg* dlg) {
            model = dlg->modelName()->text();
            band = dlg->frequency()->text();
            serial = dlg->serialNumber()->text();
            screenshot(dlg, QStringLiteral("link_radio_information"));
            QTest::keyClick(dlg, Qt::Key_Escape);
        });
        bench.frame().runCommand(cmd::kRadioInformation);
        QVERIFY(model.startsWith("  RM-140A"));
        QCOMPARE(band, QStringLiteral("  148-174MHz"));
        QVERIFY(serial.startsWith("  "));
        QCOMPARE(serial.trimmed(), QStringLiteral("SN0012345678"));
        QVERIFY(bench.messages().asked.empty());
        QVERIFY(std::equal(before.begin(), before.end(), bench.image().bytes().begin()));
        QVERIFY(!bench.radio->inProgramMode());
        QVERIFY(!bench.service->link().isOpen());
    }

    void radioInformationOnTheOldestFirmwareShowsNoDialog() {
        LinkBench bench(radioConfig("v1.00 "), radioMemory(kRow0, 1));
        QVERIFY(bench.started());
        bool missed = false;
        onDialog<CRadioInfoDlg>([](CRadioInfoDlg* dlg) { dlg->reject(); }, &missed);
        bench.frame().runCommand(cmd::kRadioInformation);
        QVERIFY(missed);
        QCOMPARE(bench.messages().texts(), QStringList{textOf(texts::kInfoNotSupported)});
        QCOMPARE(bench.messages().asked.front().caption, textOf(texts::kCaptionWarning));
        QVERIFY(!bench.radio->inProgramMode());
    }

    void checkSumIsShownAfterTheStartDelay() {
        LinkBench bench(radioConfig(), radioMemory(kRow0, 9));
        QVERIFY(bench.started());
        const uint16_t sum = bench.radio->checkSum();
        const QString expected = QStringLiteral("  %1").arg(sum, 4, 16, QLatin1Char('0')).toUpper();
        QString shown;
        bool progressOnlyAtOpen = false, okFocused = false;
        onDialog<CCheckSumDlg>([&](CCheckSumDlg* dlg) {
            progressOnlyAtOpen = dlg->progressText()->isVisible() && !dlg->result()->isVisible() &&
                                 !dlg->okButton()->isVisible();
            QCOMPARE(dlg->startTimer()->interval(), CCheckSumDlg::kStartDelayMs);
            QTRY_VERIFY(dlg->result()->isVisible());
            shown = dlg->result()->text();
            screenshot(dlg, QStringLiteral("link_check_sum"));
            okFocused = dlg->okButton()->hasFocus() || dlg->focusWidget() == dlg->okButton();
            QVERIFY(!dlg->progressText()->isVisible());
            QTest::keyClick(dlg->okButton(), Qt::Key_Space);
        });
        bench.frame().runCommand(cmd::kCheckSum);
        QVERIFY(progressOnlyAtOpen);
        QCOMPARE(shown, expected);
        QVERIFY(okFocused);
        QVERIFY(!bench.service->link().isOpen());
    }

    void checkSumCancelledAtTheFirstFailureClosesTheDialog() {
        sim::SimConfig config = radioConfig();
        config.faults.dropCommand = 1;
        config.faults.dropCount = 1000;
        LinkBench bench(config, radioMemory(kRow0, 9));
        QVERIFY(bench.started());
        bench.messages().answer({QMessageBox::Cancel});
        bool sawResult = true;
        onDialog<CCheckSumDlg>([&](CCheckSumDlg* dlg) {
            QSignalSpy finished(dlg, &QDialog::finished);
            QTRY_COMPARE(finished.count(), 1);
            sawResult = dlg->result()->isVisible();
        });
        bench.frame().runCommand(cmd::kCheckSum);
        QVERIFY(!sawResult);
        QCOMPARE(bench.messages().texts(), QStringList{textOf(texts::kCommFailed)});
        QCOMPARE(bench.messages().asked.front().buttons, MessageService::Buttons::RetryCancel);
        QVERIFY(!bench.service->link().isOpen());
    }

    void formatOfTheCheckSum() {
        QCOMPARE(formatCheckSum({0x1A, 0xF3}), std::string("1AF3"));
        QCOMPARE(formatCheckSum({0x00, 0x0B}), std::string("000B"));
    }

    void commPortShowsDevicesAndOnlyUsableOnesAreTaken() {
        LinkBench bench(radioConfig(), radioMemory(kRow0, 1), {"/dev/ttyS0", "/dev/good0"});
        QVERIFY(bench.started());
        bench.ctx().setComPort(1);
        bench.messages().answer({QMessageBox::Ok});
        onDialog<CCommPortDlg>([&](CCommPortDlg* dlg) {
            QCOMPARE(dlg->portButton(1)->text(), textOf(536) + "1");
            QCOMPARE(dlg->deviceLabel(2)->text(), "/dev/ttyS0 " + textOf(76)); // marked missing
            QCOMPARE(dlg->deviceLabel(1)->text(), QStringLiteral("/dev/good0"));
            QCOMPARE(dlg->deviceLabel(20)->text(), QStringLiteral("virtual"));
            QVERIFY(dlg->portUsable(1));
            QVERIFY(!dlg->portUsable(2)); // does not open
            QVERIFY(!dlg->portUsable(5)); // no device
            QVERIFY(dlg->portButton(1)->isChecked());
            screenshot(dlg, QStringLiteral("link_communication_port"));
            // A port whose device does not open is refused and the dialog stays.
            dlg->portButton(2)->setChecked(true);
            QCOMPARE(dlg->deviceEdit()->currentText(), QStringLiteral("/dev/ttyS0"));
            dlg->accept();
            QVERIFY(dlg->isVisible());
            dlg->portButton(20)->setChecked(true);
            dlg->accept();
        });
        bench.frame().runCommand(cmd::kCommunicationPort);
        // The refusal names the device that did not open.
        QCOMPARE(bench.messages().texts(),
                 QStringList{textOf(texts::kPortOpenFailed) + "\n\n/dev/ttyS0"});
        QCOMPARE(bench.ctx().comPort(), 20);
        QCOMPARE(bench.service->link().portNumber(), 20);
        QVERIFY(bench.frame().statusText(0).endsWith("20"));
    }

    void commPortWithoutAccessRightsNamesTheDialoutFix() {
        LinkBench bench(radioConfig(), radioMemory(kRow0, 1), {"/dev/lockedUSB0", "/dev/ttyS0"});
        QVERIFY(bench.started());
        bench.messages().answer({QMessageBox::Ok, QMessageBox::Ok});
        onDialog<CCommPortDlg>([&](CCommPortDlg* dlg) {
            dlg->portButton(1)->setChecked(true); // the locked device
            dlg->accept();
            dlg->portButton(2)->setChecked(true); // a device that is simply not there
            dlg->accept();
            dlg->reject();
        });
        bench.frame().runCommand(cmd::kCommunicationPort);
        // Both messages name the device; only the locked one names the dialout fix.
        const QStringList shown = bench.messages().texts();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].startsWith(textOf(texts::kPortOpenFailed)));
        QVERIFY(shown[0].contains("/dev/lockedUSB0"));
        QVERIFY(shown[0].endsWith("\n\n" + textOf(texts::kPortPermissionHint)));
        QVERIFY(shown[1].startsWith(textOf(texts::kPortOpenFailed)));
        QVERIFY(!shown[1].contains(textOf(texts::kPortPermissionHint)));
    }

    void commPortTakesATypedDeviceAndRemembersIt() {
        LinkBench bench(radioConfig(), radioMemory(kRow0, 1), {});
        QVERIFY(bench.started());
        onDialog<CCommPortDlg>([&](CCommPortDlg* dlg) {
            dlg->portButton(3)->setChecked(true);
            QCOMPARE(dlg->deviceCaption()->text(), textOf(55) + " (" + textOf(536) + "3):");
            dlg->deviceEdit()->lineEdit()->clear();
            QTest::keyClicks(dlg->deviceEdit()->lineEdit(), "/dev/goodUSB0");
            QTest::keyClick(dlg->deviceEdit()->lineEdit(), Qt::Key_Return);
        });
        bench.frame().runCommand(cmd::kCommunicationPort);
        QVERIFY(bench.messages().asked.empty());
        QCOMPARE(bench.ctx().comPort(), 3);
        QCOMPARE(bench.service->deviceFor(3), QStringLiteral("/dev/goodUSB0"));
        QSettings stored(bench.program.dir.path() + "/ports.ini", QSettings::IniFormat);
        QCOMPARE(stored.value("PortDevices/3").toString(), QStringLiteral("/dev/goodUSB0"));
        // The radio answers on the typed device.
        onDialog<CRadioInfoDlg>([](CRadioInfoDlg* dlg) { dlg->reject(); });
        bench.frame().runCommand(cmd::kRadioInformation);
        QVERIFY(bench.messages().asked.empty());
    }

    // The program's port was tied to a pseudo-terminal that has gone away: the dialog
    // selected nothing, greyed the device box, and OK kept the dead device.
    void regressionCommPortWithAVanishedDeviceStaysTypeable() {
        LinkBench bench(radioConfig(), radioMemory(kRow0, 1), {});
        QVERIFY(bench.started());
        bench.service->tieDevice(2, "/dev/pts/9");
        bench.ctx().setComPort(2);
        bench.messages().answer({QMessageBox::Ok});
        bool checked = false, typeable = false, refusedStaysOpen = false;
        QString shownDevice, label;
        onDialog<CCommPortDlg>([&](CCommPortDlg* dlg) {
            checked = dlg->portButton(2)->isChecked();
            typeable = dlg->deviceEdit()->isEnabled();
            shownDevice = dlg->deviceEdit()->currentText();
            label = dlg->deviceLabel(2)->text();
            dlg->accept(); // still missing: refused, naming the device
            refusedStaysOpen = dlg->isVisible();
            dlg->deviceEdit()->lineEdit()->selectAll();
            QTest::keyClicks(dlg->deviceEdit()->lineEdit(), "/dev/goodPTS4");
            dlg->accept();
        });
        bench.frame().runCommand(cmd::kCommunicationPort);
        QVERIFY(checked && typeable && refusedStaysOpen);
        QCOMPARE(shownDevice, QStringLiteral("/dev/pts/9"));
        QCOMPARE(label, "/dev/pts/9 " + textOf(76));
        QCOMPARE(bench.messages().texts(),
                 QStringList{textOf(texts::kPortOpenFailed) + "\n\n/dev/pts/9"});
        QCOMPARE(bench.ctx().comPort(), 2);
        QCOMPARE(bench.service->deviceFor(2), QStringLiteral("/dev/goodPTS4"));
    }

    void commPortShortensALongDeviceBesideItsButton() {
        const QString path =
            "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0";
        LinkBench bench(radioConfig(), radioMemory(kRow0, 1), {});
        QVERIFY(bench.started());
        bench.service->tieDevice(4, path);
        int textWidth = 0, width = 0, right = 0, nextLeft = 0;
        QString text, tip;
        onDialog<CCommPortDlg>([&](CCommPortDlg* dlg) {
            QLabel* label = dlg->deviceLabel(4);
            textWidth = label->fontMetrics().horizontalAdvance(label->text());
            width = label->width();
            text = label->text();
            tip = label->toolTip();
            right = label->geometry().right();
            nextLeft = dlg->portButton(9)->geometry().left();
            dlg->reject();
        });
        bench.frame().runCommand(cmd::kCommunicationPort);
        QVERIFY(textWidth <= width);
        QVERIFY(text.endsWith(textOf(76)));
        QCOMPARE(tip, path + ' ' + textOf(76));
        QVERIFY2(right < nextLeft,
                 qPrintable(
                     QStringLiteral("%1 %2 %3 %4").arg(right).arg(nextLeft).arg(width).arg(text)));
    }

    void commPortCancelKeepsThePort() {
        LinkBench bench(radioConfig(), radioMemory(kRow0, 1), {});
        QVERIFY(bench.started());
        onDialog<CCommPortDlg>([&](CCommPortDlg* dlg) {
            dlg->portButton(7)->setChecked(true);
            QTest::keyClick(dlg, Qt::Key_Escape);
        });
        bench.frame().runCommand(cmd::kCommunicationPort);
        QCOMPARE(bench.ctx().comPort(), LinkBench::kRadioPort);
        QCOMPARE(bench.service->link().portNumber(), LinkBench::kRadioPort);
    }
};

QTEST_MAIN(LinkQueriesTest)
#include "link_queries_test.moc"
