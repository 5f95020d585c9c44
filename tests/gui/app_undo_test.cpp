// Edit > Undo and Edit > Redo in the running program: steps named after the field,
// windows reloading, the redo branch dropped by a new edit, the title's "*", and
// Open clearing the history.
#include "gui_test_support.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "features/embedded_msg_view.h"
#include "file/data_file.h"
#include "model/new_data.h"
#include "widgets/filtered_edit.h"

#include <QAction>
#include <QtTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

// The program with the embedded message window open.
struct Session {
    StartedApp s;
    CMainFrame* frame = nullptr;
    CEmbeddedMsgView* view = nullptr;

    bool start() {
        if (!s.start({}, true)) return false;
        frame = s.app->mainFrame();
        frame->runCommand(cmd::kEmbeddedMessage);
        view = qobject_cast<CEmbeddedMsgView*>(frame->functionWindow(cmd::kEmbeddedMessage));
        return view != nullptr;
    }
    // Types a line and commits it with Return, as a person does.
    void type(int line, const QString& text) {
        FilteredEdit* edit = view->lineEdit(line);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QString shown(int line) const { return view->lineEdit(line)->text(); }
    std::string stored(int line) const {
        return s.app->data().image.readAscii(0x200 + size_t(line) * 32, 5);
    }
    QAction* undo() const { return frame->action(cmd::kEditUndo); }
    QAction* redo() const { return frame->action(cmd::kEditRedo); }
    void run(int command) { frame->runCommand(command); }
};

} // namespace

class UndoTest : public QObject {
    Q_OBJECT
  private slots:
    void editThenUndoAndRedoReloadTheWindow() {
        Session w;
        QVERIFY(w.start());
        QVERIFY(!w.undo()->isEnabled());
        QVERIFY(!w.redo()->isEnabled());
        w.type(0, "HELLO");
        QCOMPARE(w.stored(0), std::string("HELLO"));
        QVERIFY(w.undo()->isEnabled());
        // The menu names the step by the field's label.
        const QString undoText = w.undo()->text();
        QVERIFY2(undoText.startsWith(textOf(559) + " ") && undoText.size() > textOf(559).size() + 1,
                 qPrintable(undoText));

        w.run(cmd::kEditUndo);
        QCOMPARE(w.shown(0), QString());
        QCOMPARE(w.s.app->data().image.u8(0x200), uint8_t(0xFF));
        QVERIFY(!w.undo()->isEnabled());
        QCOMPARE(w.redo()->text(), textOf(560) + undoText.mid(textOf(559).size()));

        w.run(cmd::kEditRedo);
        QCOMPARE(w.shown(0), QString("HELLO"));
        QCOMPARE(w.stored(0), std::string("HELLO"));
        QVERIFY(!w.redo()->isEnabled());
    }

    void editAfterUndoDropsTheRedoBranch() {
        Session w;
        QVERIFY(w.start());
        w.type(0, "ONE");
        w.type(1, "TWO");
        w.run(cmd::kEditUndo);
        QCOMPARE(w.shown(1), QString());
        QVERIFY(w.redo()->isEnabled());
        w.type(0, "THREE");
        QVERIFY(!w.redo()->isEnabled());
        w.run(cmd::kEditUndo);
        QCOMPARE(w.shown(0), QString("ONE"));
        w.run(cmd::kEditUndo);
        QCOMPARE(w.shown(0), QString());
        QVERIFY(!w.undo()->isEnabled());
    }

    void undoingBackToTheSavedStateClearsTheModifiedMark() {
        Session w;
        QVERIFY(w.start());
        w.type(0, "SAVED");
        w.s.app->data().image.takeSnapshot(); // as Save leaves it
        w.frame->rebuildTitle();
        QVERIFY(!w.frame->windowTitle().endsWith(" *"));
        w.type(0, "AFTER");
        QVERIFY(w.frame->windowTitle().endsWith(" *"));
        w.run(cmd::kEditUndo);
        QVERIFY(!w.frame->windowTitle().endsWith(" *"));
        w.run(cmd::kEditUndo);
        QVERIFY(w.frame->windowTitle().endsWith(" *"));
        w.run(cmd::kEditRedo);
        QVERIFY(!w.frame->windowTitle().endsWith(" *"));
    }

    void openClearsTheHistory() {
        Session w;
        QVERIFY(w.start());
        w.type(0, "GONE");
        const QString path = w.s.dir.path() + "/other.dat";
        RadioData other;
        newDataFor(other, models::identityFor(0, 0, OptionBoard::None));
        QVERIFY(writeDataFile(path.toStdString(), other.image).result == kFileOk);
        w.s.messages.fallback = QMessageBox::No; // do not save the changes
        w.s.files.openAnswers << path;
        w.run(cmd::kFileOpen);
        QCOMPARE(w.s.app->context().currentFilePath(), path);
        QVERIFY(!w.undo()->isEnabled());
        QVERIFY(!w.redo()->isEnabled());
    }

    void changesAnnouncedByOtherWindowsAreOneStepEach() {
        // The grid, key window, copy dialogs and memory map store, then announce
        // the change: the step is named after the window in front.
        Session w;
        QVERIFY(w.start());
        AppContext& ctx = w.s.app->context();
        ctx.data().image.writeAscii(0x220, "GRID");
        emit ctx.dataChanged();
        QCOMPARE(w.shown(1), QString("GRID"));
        QCOMPARE(w.undo()->text(), textOf(559) + " " + w.view->windowTitle());
        w.run(cmd::kEditUndo);
        QCOMPARE(w.shown(1), QString());
    }

    void undoOfAModelChangeRestoresTheModel() {
        Session w;
        QVERIFY(w.start());
        RadioData& data = w.s.app->data();
        const ModelIdentity before = data.image.identity();
        const ModelIdentity other = models::identityFor(5, 0, OptionBoard::None);
        QVERIFY(other.bytes != before.bytes);
        data.image.setIdentity(other);
        emit w.s.app->context().modelChanged();
        QVERIFY(w.undo()->isEnabled());
        w.run(cmd::kEditUndo);
        QVERIFY(data.image.identity().bytes == before.bytes);
        QCOMPARE(data.model.currentChoice(), data.model.committed());
        w.run(cmd::kEditRedo);
        QVERIFY(data.image.identity().bytes == other.bytes);
        QCOMPARE(data.model.row(), 5);
    }

    void shortcutsAreCtrlZAndCtrlYOrCtrlShiftZ() {
        Session w;
        QVERIFY(w.start());
        QVERIFY(w.undo()->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Z)));
        QVERIFY(w.redo()->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
        QVERIFY(w.redo()->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    }
};

QTEST_MAIN(UndoTest)
#include "app_undo_test.moc"
