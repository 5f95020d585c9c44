// The Model Information dialog, the model change it runs with its questions, and
// the New command.
#include "gui_test_support.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "model/model_info_dlg.h"
#include "model/new_data.h"
#include "widgets/spin_edit.h"

#include <QComboBox>
#include <QtTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

void pick(QComboBox* combo, const QString& text) {
    const int i = combo->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    combo->setCurrentIndex(i);
    emit combo->activated(i);
}

void setModel(StartedApp& s, int row, int band, OptionBoard board = OptionBoard::None,
              int groups = 1) {
    newDataFor(s.app->data(), models::identityFor(row, band, board));
    s.app->data().image.setU8(0x00AD, optionByteFor(board));
    if (board == OptionBoard::Trunking) s.app->data().image.setU8(0x0087, uint8_t(groups));
    s.app->data().model.refresh();
    s.app->data().image.takeSnapshot();
    emit s.app->context().modelChanged();
}

// A used channel-plan byte, to see whether a change cleared the plan.
constexpr size_t kPlanByte = 0x0300;

} // namespace

class ModelInfoDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void opensOnTheCurrentModel() {
        StartedApp s;
        QVERIFY(s.start());
        setModel(s, 14, 2); // RM-450A[128CH]:C 350-390MHz
        CModelInfoDlg dlg(s.app->context(), nullptr);
        QCOMPARE(dlg.radioType()->currentText(), QStringLiteral("L0:161"));
        QCOMPARE(dlg.vhfUhf()->currentText(), QStringLiteral("UHF"));
        QCOMPARE(dlg.modelType()->currentText(), QStringLiteral("RM-450A[128CH]:C"));
        QCOMPARE(dlg.modelType()->count(), 7);
        QCOMPARE(dlg.frequency()->currentText(), QStringLiteral("350-390MHz"));
        QCOMPARE(dlg.optionBoard()->currentText(), QStringLiteral("L0:65"));
        QVERIFY(!dlg.groupCount()->isEnabled());
        QCOMPARE(dlg.windowTitle(), QStringLiteral("L0:159"));
    }
    void optionBoardOffersScrOnlyWithTheSwitchAndTrunkingNotForEMarkets() {
        StartedApp s;
        QVERIFY(s.start());
        CModelInfoDlg plain(s.app->context(), nullptr);
        QCOMPARE(plain.optionBoard()->count(), 2); // none, trunking
        pick(plain.modelType(), "RM-140A[8CH]:E");
        QCOMPARE(plain.optionBoard()->count(), 1);
        StartedApp scr;
        QVERIFY(scr.start({"/SCR"}));
        CModelInfoDlg withScr(scr.app->context(), nullptr);
        QCOMPARE(withScr.optionBoard()->count(), 3);
        QCOMPARE(withScr.optionBoard()->itemText(1), QStringLiteral("L0:168"));
    }
    void changingTheModelRefillsTheBandsAndKeepsTheOptionBoard() {
        StartedApp s;
        QVERIFY(s.start());
        CModelInfoDlg dlg(s.app->context(), nullptr);
        pick(dlg.optionBoard(), "L0:169");
        pick(dlg.modelType(), "RM-160A[128CH]:K");
        QCOMPARE(dlg.frequency()->count(), 2);
        QCOMPARE(dlg.frequency()->currentIndex(), 0);
        QCOMPARE(dlg.optionBoard()->currentText(), QStringLiteral("L0:169"));
        pick(dlg.modelType(), "RM-160A[128CH]:(N)E"); // no trunking board offered
        QCOMPARE(dlg.optionBoard()->currentText(), QStringLiteral("L0:65"));
        QCOMPARE(dlg.groupCount()->text(), QString());
    }
    void changingTheRadioTypeKeepsOrResetsTheModel() {
        StartedApp s;
        QVERIFY(s.start());
        CModelInfoDlg dlg(s.app->context(), nullptr);
        pick(dlg.radioType(), "L0:162");
        QCOMPARE(dlg.modelType()->currentText(), QStringLiteral("RP-110A[8CH]:K"));
        pick(dlg.vhfUhf(), "UHF");
        QCOMPARE(dlg.modelType()->currentText(), QStringLiteral("RP-410A[8CH]:K"));
        QCOMPARE(dlg.frequency()->count(), 4);
    }
    void trunkingGroupCountWrapsAndIsClamped() {
        StartedApp s;
        QVERIFY(s.start());
        CModelInfoDlg dlg(s.app->context(), nullptr);
        pick(dlg.optionBoard(), "L0:169");
        QVERIFY(dlg.groupCount()->isEnabled());
        QCOMPARE(dlg.groupCount()->text(), QStringLiteral("1"));
        dlg.groupCount()->stepBy(-1);
        QCOMPARE(dlg.groupCount()->text(), QStringLiteral("8")); // below 1 comes the limit
        dlg.groupCount()->stepBy(1);
        QCOMPARE(dlg.groupCount()->text(), QStringLiteral("1"));
        dlg.groupCount()->setText("20");
        emit dlg.groupCount()->edit()->editingFinished();
        QCOMPARE(dlg.groupCount()->text(), QStringLiteral("8"));
        dlg.groupCount()->setText("0");
        emit dlg.groupCount()->edit()->editingFinished();
        QCOMPARE(dlg.groupCount()->text(), QStringLiteral("1"));
        QCOMPARE(CModelInfoDlg::groupLimit("RM-160A[128CH]:K"), 16);
    }
    void okWithoutASelectionNamesTheControl() {
        StartedApp s;
        QVERIFY(s.start());
        CModelInfoDlg dlg(s.app->context(), nullptr);
        dlg.frequency()->setCurrentIndex(-1);
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(s.messages.texts(), QStringList{"L0:10"});
        QCOMPARE(s.messages.asked[0].caption, QStringLiteral("L0:79"));
        QVERIFY(!dlg.changed());
    }
    void okWithTrunkingBoardAndNoGroupCountIsRefused() {
        StartedApp s;
        QVERIFY(s.start());
        CModelInfoDlg dlg(s.app->context(), nullptr);
        pick(dlg.optionBoard(), "L0:169");
        dlg.groupCount()->setText(QString());
        dlg.accept();
        QCOMPARE(s.messages.texts(), QStringList{"L0:10"});
        QVERIFY(!dlg.changed());
        QVERIFY(!s.app->data().model.flags().trunking);
    }
    void identityOfNoKnownModelShowsNoSelection() {
        StartedApp s;
        QVERIFY(s.start());
        s.app->data().image.setU8(0x00A8, '9'); // "M9400": no such model
        CModelInfoDlg dlg(s.app->context(), nullptr);
        QCOMPARE(dlg.radioType()->currentText(), QStringLiteral("L0:161"));
        QCOMPARE(dlg.vhfUhf()->currentText(), QStringLiteral("VHF"));
        QCOMPARE(dlg.modelType()->currentIndex(), -1);
        QCOMPARE(dlg.frequency()->currentIndex(), -1);
        dlg.show();
        dlg.accept();
        QCOMPARE(s.messages.texts(), QStringList{"L0:10"});
        QCOMPARE(dlg.focusWidget(), static_cast<QWidget*>(dlg.modelType()));
    }
};

class ModelChangeTest : public QObject {
    Q_OBJECT
  private slots:
    void bandChangeAsksAndCancelRestoresTheSelections() {
        StartedApp s;
        QVERIFY(s.start());
        s.app->data().image.setU8(kPlanByte, 0x00);
        s.app->data().image.takeSnapshot();
        CModelInfoDlg dlg(s.app->context(), nullptr);
        pick(dlg.frequency(), "136-162MHz");
        s.messages.answer({QMessageBox::Cancel});
        dlg.accept();
        QCOMPARE(s.messages.texts(), QStringList{"L0:22"});
        QCOMPARE(s.messages.asked[0].caption, QStringLiteral("L0:78"));
        QVERIFY(s.messages.asked[0].cancelIsDefault);
        QCOMPARE(dlg.frequency()->currentText(), QStringLiteral("148-174MHz"));
        QVERIFY(!dlg.changed());
        QVERIFY(!s.app->data().image.isModified());
    }
    void bandChangeConfirmedClearsTheChannelPlan() {
        StartedApp s;
        QVERIFY(s.start());
        s.app->data().image.setU8(kPlanByte, 0x00);
        s.app->data().image.takeSnapshot();
        CModelInfoDlg dlg(s.app->context(), nullptr);
        pick(dlg.frequency(), "136-162MHz");
        dlg.accept();
        QVERIFY(dlg.changed());
        QCOMPARE(s.app->data().image.u8(kPlanByte), uint8_t(0xFF));
        QCOMPARE(QString::fromUtf8(std::string(s.app->data().model.bandText()).c_str()), QStringLiteral("136-162MHz"));
        QVERIFY(s.app->data().image.isModified());
        QVERIFY(!dlg.fileNameReset());
    }
    void marketAndLabelChangeAsksBothTexts() {
        StartedApp s;
        QVERIFY(s.start());
        CModelInfoDlg dlg(s.app->context(), nullptr);
        pick(dlg.modelType(), "RM-150A[8CH]:M");
        dlg.accept();
        QCOMPARE(s.messages.texts(), QStringList{"L0:22\nL0:23"});
        QVERIFY(dlg.changed());
        QVERIFY(dlg.fileNameReset());
        QCOMPARE(s.app->data().model.row(), 3);
    }
    void noneToScrBoardAsksNothingAndKeepsChannels() {
        StartedApp s;
        QVERIFY(s.start({"/scr"}));
        s.app->data().image.setU8(kPlanByte, 0x00);
        CModelInfoDlg dlg(s.app->context(), nullptr);
        pick(dlg.optionBoard(), "L0:168");
        dlg.accept();
        QVERIFY(s.messages.asked.empty());
        QVERIFY(dlg.changed());
        QCOMPARE(s.app->data().image.u8(kPlanByte), uint8_t(0x00));
        QVERIFY(s.app->data().model.flags().scr);
    }
    void fewerTrunkingGroupsAskWithTheGroupNumbers() {
        StartedApp s;
        QVERIFY(s.start());
        setModel(s, 0, 0, OptionBoard::Trunking, 4);
        const auto before = std::vector<uint8_t>(s.app->data().image.bytes().begin(), s.app->data().image.bytes().end());
        CModelInfoDlg dlg(s.app->context(), nullptr);
        QCOMPARE(dlg.groupCount()->text(), QStringLiteral("4"));
        dlg.groupCount()->setText("2");
        s.messages.answer({QMessageBox::Cancel});
        dlg.accept();
        QCOMPARE(s.messages.texts(), QStringList{"L0:170 3 L0:171 4 L0:172."});
        QVERIFY(!dlg.changed());
        QVERIFY(std::equal(before.begin(), before.end(), s.app->data().image.bytes().begin()));
        s.messages.answer({QMessageBox::Ok});
        dlg.accept();
        QVERIFY(dlg.changed());
        QCOMPARE(s.app->data().image.u8(0x0087), uint8_t(2));
    }
    void regressionModelChangeLeavesTheDataModified() {
        // The data after a model change differ from every saved file, so they must
        // still count as modified: exiting asks to save them.
        StartedApp s;
        QVERIFY(s.start());
        CModelInfoDlg dlg(s.app->context(), nullptr);
        pick(dlg.modelType(), "RM-160A[128CH]:K");
        dlg.accept();
        QVERIFY(s.app->data().image.isModified());
    }
};

class NewCommandTest : public QObject {
    Q_OBJECT
  private slots:
    void cancelledQuestionChangesNothing() {
        StartedApp s;
        QVERIFY(s.start());
        s.app->data().image.setU8(0x0010, 7);
        s.messages.answer({QMessageBox::Cancel});
        s.app->mainFrame()->runCommand(cmd::kFileNew);
        QCOMPARE(s.messages.texts(), QStringList{"L0:21"});
        QCOMPARE(s.messages.asked[0].caption, QStringLiteral("L0:82"));
        QCOMPARE(s.app->data().image.u8(0x0010), uint8_t(7));
    }
    void newMakesFreshUnmodifiedDataForTheModelInHand() {
        StartedApp s;
        QVERIFY(s.start());
        setModel(s, 37, 0);
        s.app->context().setCurrentFilePath(s.dir.path() + "/old.dat");
        s.app->data().image.setU8(0x0010, 7);
        s.messages.answer({QMessageBox::Ok, QMessageBox::No}); // New? then: save changes? No
        s.app->mainFrame()->runCommand(cmd::kFileNew);
        QCOMPARE(s.messages.texts().size(), 2);
        QCOMPARE(s.app->data().model.row(), 37);
        QCOMPARE(s.app->data().image.u16(0x0010), uint16_t(60));
        QVERIFY(!s.app->data().image.isModified());
        QCOMPARE(s.app->context().currentFilePath(), s.dir.path() + "/vrl73m.dat");
        QVERIFY(s.app->mainFrame()->windowTitle().contains("RP-470A[128CH] : M UHF : 350-370MHz"));
    }
    void newStopsWhenTheSavePromptIsCancelled() {
        StartedApp s;
        QVERIFY(s.start());
        s.app->data().image.setU8(0x0010, 7);
        s.messages.answer({QMessageBox::Ok, QMessageBox::Cancel});
        s.app->mainFrame()->runCommand(cmd::kFileNew);
        QCOMPARE(s.app->data().image.u8(0x0010), uint8_t(7));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        ModelInfoDialogTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        ModelChangeTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        NewCommandTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "app_model_test.moc"
