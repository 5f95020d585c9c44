// Open, Save, Save As and the modified-data prompt.
#include "gui_test_support.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "file/data_file.h"
#include "file/file_commands.h"
#include "app/registries.h"
#include "model/new_data.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeView>
#include <QtTest>

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A data file of row 37 with a marker byte, written by the core writer.
void writeRow37File(const QString& path, uint8_t marker) {
    RadioData data;
    newDataFor(data, models::identityFor(37, 0, OptionBoard::None));
    data.image.setU8(0x0010, marker);
    QVERIFY(writeDataFile(path.toStdString(), data.image).result == kFileOk);
}

// A window with one edit that writes byte 0x0010 when it loses the focus.
class EditingView : public QWidget {
  public:
    EditingView(AppContext& ctx, QWidget* parent) : QWidget(parent) {
        auto* edit = new QLineEdit(this);
        connect(edit, &QLineEdit::editingFinished, this, [&ctx, edit] {
            ctx.data().image.setU8(0x0010, static_cast<uint8_t>(edit->text().toInt()));
        });
    }
};

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void openingAnSdtFileNamesItDat() {
        StartedApp s;
        QVERIFY(s.start());
        const QString sdt = s.dir.path() + "/radio.SDT";
        writeRow37File(sdt, 0x42);
        s.files.openAnswers << sdt;
        s.app->mainFrame()->runCommand(cmd::kFileOpen);
        QVERIFY(s.messages.asked.empty());
        QCOMPARE(s.app->data().model.row(), 37);
        QCOMPARE(s.app->data().image.u8(0x0010), uint8_t(0x42));
        QVERIFY(!s.app->data().image.isModified());
        QCOMPARE(s.app->context().currentFilePath(), s.dir.path() + "/radio.dat");
        QVERIFY(s.app->mainFrame()->windowTitle().endsWith(": radio.dat]"));
        // The next Save writes radio.dat beside it and leaves the .SDT file alone.
        const QByteArray original = readAll(sdt);
        s.app->mainFrame()->runCommand(cmd::kFileSave);
        QCOMPARE(readAll(s.dir.path() + "/radio.dat"), original);
        QCOMPARE(readAll(sdt), original);
    }
    void openOfAForeignFileKeepsTheData() {
        StartedApp s;
        QVERIFY(s.start());
        s.app->data().image.setU8(0x0010, 9);
        s.app->data().image.takeSnapshot();
        const QString bad = s.dir.path() + "/bad.dat";
        QByteArray bytes = readAll(s.dir.path() + "/vrl73m.lng").left(int(kDataFileSize));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        s.files.openAnswers << bad;
        s.app->mainFrame()->runCommand(cmd::kFileOpen);
        QCOMPARE(s.messages.texts().size(), 1);
        QVERIFY(s.messages.texts().front().startsWith("L0:16\n\n" + bad + "\n"));
        QCOMPARE(s.messages.asked[0].caption, QStringLiteral("L0:79"));
        QCOMPARE(s.app->data().image.u8(0x0010), uint8_t(9));
        QVERIFY(s.app->context().currentFilePath().endsWith("/vrl73m.dat"));
    }
    void openOfAMissingFileSaysItCannotBeRead() {
        StartedApp s;
        QVERIFY(s.start());
        s.files.openAnswers << s.dir.path() + "/none.dat";
        s.app->mainFrame()->runCommand(cmd::kFileOpen);
        QCOMPARE(s.messages.texts(), QStringList{"L0:15\n\n" + s.dir.path() + "/none.dat\n" +
                                                 QString::fromLocal8Bit(std::strerror(ENOENT))});
    }
    void regressionRefusedFilesAreNamedWithTheCheckThatFailed_data() {
        QTest::addColumn<QByteArray>("content");
        QByteArray random(int(kDataFileSize), 0);
        for (int i = 0; i < random.size(); ++i)
            random[i] = char((i * 7919 + 13) % 251);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated")
            << QByteArray("VRL73M\xFF\xFF\xFF\xFFV0422", 15).leftJustified(1000, '\xFF');
        QTest::newRow("random") << random;
    }
    // Empty, truncated and random files all got the same "not a data file" text, with
    // neither the file's name nor the reason.
    void regressionRefusedFilesAreNamedWithTheCheckThatFailed() {
        QFETCH(QByteArray, content);
        StartedApp s;
        QVERIFY(s.start());
        const QString path = s.dir.path() + "/" + QTest::currentDataTag() + ".dat";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        s.files.openAnswers << path;
        s.app->mainFrame()->runCommand(cmd::kFileOpen);
        QCOMPARE(s.messages.texts().size(), 1);
        const QStringList lines = s.messages.texts().front().split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("L0:16"));
        QCOMPARE(lines[2], path);
        QVERIFY(!lines[3].isEmpty());
        static QStringList reasons;
        QVERIFY2(!reasons.contains(lines[3]), qPrintable(lines[3])); // each case says its own
        reasons << lines[3];
    }
    void savingTwiceGivesIdenticalFilesAndUnmodifiedData() {
        StartedApp s;
        QVERIFY(s.start());
        s.app->data().image.setU8(0x0010, 5);
        const QString a = s.dir.path() + "/a.dat", b = s.dir.path() + "/b.dat";
        s.files.saveAnswers << a << b;
        CMainFrame* f = s.app->mainFrame();
        f->runCommand(cmd::kFileSaveAs);
        QVERIFY(!s.app->data().image.isModified());
        f->runCommand(cmd::kFileSaveAs);
        QCOMPARE(readAll(a).size(), int(kDataFileSize));
        QCOMPARE(readAll(a), readAll(b));
        QVERIFY(!f->windowTitle().endsWith('*'));
        QVERIFY(f->windowTitle().endsWith(": b.dat]"));
    }
    void saveOverAnExistingFileAsksFirst() {
        StartedApp s;
        QVERIFY(s.start());
        const QString path = s.dir.path() + "/x.dat";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
        f.close();
        s.app->context().setCurrentFilePath(path);
        s.messages.answer({QMessageBox::Cancel});
        s.app->mainFrame()->runCommand(cmd::kFileSave);
        QCOMPARE(s.messages.texts(), QStringList{"L0:17x.dat"});
        QVERIFY(s.messages.asked[0].cancelIsDefault);
        QCOMPARE(readAll(path), QByteArray("old"));
        s.messages.answer({QMessageBox::Ok});
        s.app->mainFrame()->runCommand(cmd::kFileSave);
        QCOMPARE(readAll(path).size(), int(kDataFileSize));
    }
    void failedSaveAsShowsTheSystemErrorAndKeepsTheName() {
        StartedApp s;
        QVERIFY(s.start());
        s.app->data().image.setU8(0x0010, 5);
        const QString before = s.app->context().currentFilePath();
        s.files.saveAnswers << s.dir.path() + "/no/such/folder/x.dat";
        s.app->mainFrame()->runCommand(cmd::kFileSaveAs);
        QCOMPARE(s.messages.texts(), QStringList{s.dir.path() + "/no/such/folder/x.dat\n" +
                                                 QString::fromLocal8Bit(std::strerror(ENOENT))});
        QCOMPARE(s.app->context().currentFilePath(), before);
        QVERIFY(s.app->data().image.isModified());
    }
    void regressionSaveAsOntoAFifoRefusesItAndNamesIt() {
        StartedApp s;
        QVERIFY(s.start());
        s.app->data().image.setU8(0x0010, 5);
        const QString fifo = s.dir.path() + "/pipe.dat";
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        s.files.saveAnswers << fifo;
        s.app->mainFrame()->runCommand(cmd::kFileSaveAs);
        QCOMPARE(s.messages.texts().size(), 1);
        QVERIFY(s.messages.texts().front().contains(fifo));
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        QVERIFY(s.app->data().image.isModified());
    }
};

// The file chooser cut its Size column ("32....KiB").
class FileChooserTest : public QObject {
    Q_OBJECT
  private slots:
    void regressionChoosersShowTheirColumnsInFull_data() {
        QTest::addColumn<bool>("save");
        QTest::newRow("open") << false;
        QTest::newRow("save as") << true;
    }
    void regressionChoosersShowTheirColumnsInFull() {
        QFETCH(bool, save);
        QTemporaryDir dir;
        writeRow37File(dir.path() + "/a radio with a long file name.dat", 1);
        QList<int> cut;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* view = dialog->findChild<QTreeView*>();
            QVERIFY(view);
            QTRY_VERIFY(view->model()->rowCount(view->rootIndex()) > 0);
            for (int column = 0; column < 4; ++column)
                if (view->columnWidth(column) <
                    std::max(static_cast<QAbstractItemView*>(view)->sizeHintForColumn(column),
                             view->header()->sectionSizeHint(column)))
                    cut << column;
            if (qEnvironmentVariableIsSet("VRL_SCREENSHOT_DIR"))
                dialog->grab().save(qEnvironmentVariable("VRL_SCREENSHOT_DIR") +
                                    "/file_dialog.png");
            dialog->reject();
        });
        QtFileDialogs chooser;
        if (save)
            chooser.saveFile(nullptr, dir.path() + "/x.dat");
        else
            chooser.openFile(nullptr, dir.path());
        QCOMPARE(cut, QList<int>{});
    }
};

class ModifiedPromptTest : public QObject {
    Q_OBJECT
  private slots:
    void unmodifiedDataAskNothing() {
        StartedApp s;
        QVERIFY(s.start());
        QVERIFY(s.app->mainFrame()->promptToSaveChanges());
        QVERIFY(s.messages.asked.empty());
    }
    void answersOfThePrompt_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveAs");
        QTest::addColumn<bool>("goOn");
        QTest::addColumn<bool>("written");
        QTest::newRow("no") << int(QMessageBox::No) << QString() << true << false;
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << QString() << false << false;
        QTest::newRow("yes, saved") << int(QMessageBox::Yes) << QStringLiteral("saved.dat") << true << true;
        // Choosing to save and then not saving must not throw the data away.
        QTest::newRow("regression yes, save cancelled") << int(QMessageBox::Yes) << QString() << false << false;
        QTest::newRow("regression yes, save failed") << int(QMessageBox::Yes) << QStringLiteral("no/such/x.dat") << false << false;
    }
    void answersOfThePrompt() {
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, goOn);
        QFETCH(bool, written);
        StartedApp s;
        QVERIFY(s.start());
        s.app->data().image.setU8(0x0010, 5);
        if (!saveAs.isEmpty()) s.files.saveAnswers << s.dir.path() + "/" + saveAs;
        s.messages.answer({QMessageBox::StandardButton(answer)});
        QCOMPARE(s.app->mainFrame()->promptToSaveChanges(), goOn);
        QCOMPARE(s.messages.asked[0].text, QStringLiteral("L0:20\"vrl73m.dat\"?"));
        QCOMPARE(s.messages.asked[0].caption, QStringLiteral("L0:80"));
        QVERIFY(s.messages.asked[0].buttons == MessageService::Buttons::YesNoCancel);
        QCOMPARE(QFile::exists(s.dir.path() + "/saved.dat"), written);
        QCOMPARE(s.app->data().image.isModified(), !written);
    }
    void regressionEditInProgressCountsAsModified() {
        FunctionWindowRegistry::instance().add(cmd::kOptionalFeatures, windowFactory<EditingView>());
        StartedApp s;
        QVERIFY(s.start({}, true));
        CMainFrame* f = s.app->mainFrame();
        QVERIFY(QTest::qWaitForWindowActive(f));
        f->runCommand(cmd::kOptionalFeatures);
        auto* edit = f->functionWindow(cmd::kOptionalFeatures)->findChild<QLineEdit*>();
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QTest::keyClicks(edit, "7");
        QVERIFY(!s.app->data().image.isModified()); // not committed yet
        s.messages.answer({QMessageBox::Cancel});
        QVERIFY(!f->promptToSaveChanges());
        QCOMPARE(s.messages.asked.size(), size_t(1));
        QCOMPARE(s.app->data().image.u8(0x0010), uint8_t(7));
    }
    void openAfterCancelledPromptOpensNothing() {
        StartedApp s;
        QVERIFY(s.start());
        s.app->data().image.setU8(0x0010, 5);
        s.files.openAnswers << s.dir.path() + "/whatever.dat";
        s.messages.answer({QMessageBox::Cancel});
        s.app->mainFrame()->runCommand(cmd::kFileOpen);
        QCOMPARE(s.files.openFolders.size(), 0);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        FileCommandsTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        FileChooserTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        ModifiedPromptTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "app_file_test.moc"
