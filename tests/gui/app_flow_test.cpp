// A whole session: change the model, save, exit with its questions, start again on
// the same settings and reopen the file byte for byte.
#include "gui_test_support.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "model/model_info_dlg.h"

#include <QComboBox>
#include <QFile>
#include <QTimer>
#include <QtTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {
QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class SessionTest : public QObject {
    Q_OBJECT
  private slots:
    void modelChangeSaveExitRestartReopen() {
        StartedApp s;
        QVERIFY(s.start({"/scr"}));
        CMainFrame* frame = s.app->mainFrame();

        // Model Information: portable UHF RP-470A with the SCR board, run from the menu.
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<CModelInfoDlg*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            auto pick = [](QComboBox* c, const QString& t) {
                c->setCurrentIndex(c->findText(t));
                emit c->activated(c->currentIndex());
            };
            pick(dlg->radioType(), "L0:162");
            pick(dlg->vhfUhf(), "UHF");
            pick(dlg->modelType(), "RP-470A[128CH]:M");
            pick(dlg->optionBoard(), "L0:168");
            dlg->accept();
        });
        s.messages.answer({QMessageBox::Ok}); // class 3: channel plan and market
        frame->runCommand(cmd::kModelInformation);
        QCOMPARE(s.messages.texts(), QStringList{"L0:22\nL0:23"});
        QCOMPARE(s.app->data().model.row(), 37);
        QVERIFY(s.app->data().model.flags().scr);
        QVERIFY(s.app->data().image.isModified());
        QVERIFY(frame->windowTitle().endsWith(" *"));
        QVERIFY(frame->windowTitle().contains("[ L0:83 : Vrl73m.dat]"));

        // Exit: the exit question, then the save prompt answered Yes and saved.
        const QString saved = s.dir.path() + "/session.dat";
        s.files.saveAnswers << saved;
        s.messages.clear();
        s.messages.answer({QMessageBox::Yes, QMessageBox::Yes});
        QVERIFY(frame->close());
        QCOMPARE(s.messages.texts(), (QStringList{"L0:19", "L0:20\"Vrl73m.dat\"?"}));
        s.app->exit();
        const QByteArray file = readAll(saved);
        QCOMPARE(file.size(), 33215);

        // Start again on the same settings: the model comes back without its board.
        s.messages.clear();
        QVERIFY(s.start());
        QCOMPARE(s.app->data().model.row(), 37);
        QVERIFY(!s.app->data().model.flags().scr);
        QCOMPARE(s.app->context().currentFilePath(), s.dir.path() + "/vrl73m.dat");

        // Open the saved file and save it under another name: the same bytes.
        s.files.openAnswers << saved;
        s.app->mainFrame()->runCommand(cmd::kFileOpen);
        QVERIFY(s.app->data().model.flags().scr);
        QVERIFY(!s.app->data().image.isModified());
        const QString again = s.dir.path() + "/again.dat";
        s.files.saveAnswers << again;
        s.app->mainFrame()->runCommand(cmd::kFileSaveAs);
        QCOMPARE(readAll(again), file);
        QVERIFY(s.messages.asked.empty());
    }
};

QTEST_MAIN(SessionTest)
#include "app_flow_test.moc"
