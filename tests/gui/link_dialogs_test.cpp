// The transfer dialog on its own: progress label, the busy rules while an exchange
// runs, the run-again loop, help, and the data check before a radio write.
#include "link_test_support.h"

#include "app/app_context.h"
#include "link/texts.h"
#include "link/transfer.h"
#include "link/transfer_dlg.h"
#include "model/new_data.h"
#include "widgets/help.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

struct Context {
    RadioData data;
    LanguageTable lang;
    ScriptedMessages messages;
    std::unique_ptr<AppContext> ctx;
    QVector<int> helpTopics;

    Context() {
        const QByteArray bytes = languageFileBytes(1);
        lang.loadBytes(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
        newData(data);
        ctx = std::make_unique<AppContext>(data, lang, messages);
        help::setHandler([this](int topic, QWidget*) { helpTopics.append(topic); });
    }
    ~Context() { help::setHandler({}); }
};

// Data that pass the check: no scan setting "0", no key on Home Channel, no trunking
// board.
void makeWritable(CDataImage& image) {
    image.setU8(0x0020, '1');
    image.fill(0x0110, 11, 0x00);
    image.fill(0x0130, 16, 0x00);
    image.setBit(0x00AD, 5, true);
}

} // namespace

class LinkDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void progressAndBusyRulesWhileTheExchangeRuns() {
        Context c;
        int calls = 0;
        bool closeRefused = false, escapeRefused = false, buttonsOff = false, cancelOffered = false;
        QString label;
        int barMax = -1, barValue = -1;
        CTransferDlg* dialog = nullptr;
        CTransferDlg dlg(*c.ctx, TransferKind::ReadRadio, [&](TransferUi& ui) {
            ++calls;
            ui.progress(3, 10);
            label = dialog->label()->text();
            barMax = dialog->progressBar()->maximum();
            barValue = dialog->progressBar()->value();
            screenshot(dialog, QStringLiteral("link_transfer_read"));
            ui.setBusy(true);
            dialog->close();
            closeRefused = dialog->isVisible();
            QTest::keyClick(dialog, Qt::Key_Escape);
            escapeRefused = dialog->isVisible();
            QTest::keyClick(dialog, Qt::Key_F1);
            buttonsOff = !dialog->startButton()->isEnabled() && !dialog->helpButton()->isEnabled();
            cancelOffered = dialog->cancelButton()->isEnabled() && !ui.stopRequested();
            ui.setBusy(false);
            return int{kTransferOk};
        }, nullptr);
        dialog = &dlg;
        dlg.show();
        QCOMPARE(dlg.label()->text(), textOf(texts::kProgressLabel) + " 0 / 0");
        QCOMPARE(dlg.windowTitle(), textOf(479));
        QTest::mouseClick(dlg.startButton(), Qt::LeftButton);

        QCOMPARE(calls, 1);
        QCOMPARE(label, textOf(texts::kProgressLabel) + " 3 / 10");
        QCOMPARE(barMax, 10);
        QCOMPARE(barValue, 3);
        QVERIFY(closeRefused);
        QVERIFY(escapeRefused);
        QVERIFY(buttonsOff);
        QVERIFY(cancelOffered);
        QVERIFY(c.helpTopics.isEmpty()); // no help once started
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(!dlg.isVisible());
        QCOMPARE(c.messages.texts(), QStringList{textOf(texts::kReadDone)});
        QVERIFY(c.messages.asked.front().caption.isEmpty());
        QCOMPARE(c.messages.asked.front().icon, MessageService::Icon::Information);
    }

    void runAgainRepeatsAndAStopClosesWithCancel() {
        Context c;
        QVector<int> results{kTransferRunAgain, kTransferRunAgain, kTransferStopped};
        int calls = 0;
        CTransferDlg dlg(*c.ctx, TransferKind::ReadRadio,
                         [&](TransferUi&) { return results.at(calls++); }, nullptr);
        dlg.show();
        dlg.start();
        QCOMPARE(calls, 3);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(c.messages.asked.empty());
    }

    void cancelWhileRunningAsksTheExchangeToStop() {
        Context c;
        bool stopAsked = false, stillOpen = false;
        CTransferDlg* dialog = nullptr;
        CTransferDlg dlg(*c.ctx, TransferKind::ReadRadio, [&](TransferUi& ui) {
            ui.setBusy(true);
            QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
            stopAsked = ui.stopRequested();
            stillOpen = dialog->isVisible();
            return int{kTransferStopped};
        }, nullptr);
        dialog = &dlg;
        dlg.show();
        dlg.start();
        QVERIFY(stopAsked);
        QVERIFY(stillOpen);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }

    void helpBeforeTheStartOpensTheDialogsTopic() {
        Context c;
        makeWritable(c.data.image);
        CTransferDlg read(*c.ctx, TransferKind::ReadRadio, [](TransferUi&) { return 0; }, nullptr);
        CTransferDlg write(*c.ctx, TransferKind::WriteRadio, [](TransferUi&) { return 0; }, nullptr);
        read.show();
        QTest::keyClick(&read, Qt::Key_F1);
        write.helpButton()->click();
        QCOMPARE(c.helpTopics, (QVector<int>{0x200A3, 0x200A4}));
    }

    void writeDialogShowsTheBlocksToWrite() {
        Context c;
        c.data.image.fill(0, 12, 0xFF); // blank directory
        CTransferDlg dlg(*c.ctx, TransferKind::WriteRadio, [](TransferUi&) { return 0; }, nullptr);
        QCOMPARE(dlg.label()->text(), textOf(texts::kProgressLabel) + " 0 / 49");
        QCOMPARE(dlg.windowTitle(), textOf(483));
        QCOMPARE(dlg.startButton()->text(), textOf(484));
    }

    void dataCheckBeforeAWrite_data() {
        QTest::addColumn<bool>("scanWithoutPriority");
        QTest::addColumn<bool>("homeKeyWithoutHome");
        QTest::addColumn<bool>("incompleteTrunkGroup");
        QTest::addColumn<int>("message");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("A and B") << true << true << false << 44 << false;
        QTest::newRow("A") << true << false << false << 45 << false;
        QTest::newRow("B") << false << true << false << 46 << false;
        QTest::newRow("A wins over C") << true << false << true << 45 << false;
        QTest::newRow("C") << false << false << true << 48 << true;
        QTest::newRow("none") << false << false << false << 0 << false;
    }
    void dataCheckBeforeAWrite() {
        QFETCH(bool, scanWithoutPriority);
        QFETCH(bool, homeKeyWithoutHome);
        QFETCH(bool, incompleteTrunkGroup);
        QFETCH(int, message);
        QFETCH(bool, staysOpen);
        Context c;
        CDataImage& image = c.data.image;
        makeWritable(image);
        if (scanWithoutPriority) {
            image.setU8(0x0020, '0');
            image.fill(0x002B, 2, 0xFF);
        }
        if (homeKeyWithoutHome) {
            image.setU8(0x0112, 0x35);
            image.fill(0x0088, 2, 0xFF);
        }
        if (incompleteTrunkGroup) {
            image.setBit(0x00AD, 5, false);
            image.setU8(0x0087, 1);
        }
        int calls = 0;
        CTransferDlg dlg(*c.ctx, TransferKind::WriteRadio, [&](TransferUi&) {
            ++calls;
            return int{kTransferStopped};
        }, nullptr);
        dlg.show();
        dlg.start();
        if (message == 0) {
            QCOMPARE(calls, 1);
            QVERIFY(c.messages.asked.empty());
            return;
        }
        QCOMPARE(calls, 0);
        QCOMPARE(c.messages.texts(), QStringList{textOf(message)});
        QCOMPARE(c.messages.asked.front().caption, textOf(texts::kCaptionError));
        QCOMPARE(c.messages.asked.front().icon, MessageService::Icon::Error);
        QCOMPARE(dlg.isVisible(), staysOpen);
        if (staysOpen) QVERIFY(dlg.startButton()->isEnabled());
    }
};

QTEST_MAIN(LinkDialogsTest)
#include "link_dialogs_test.moc"
