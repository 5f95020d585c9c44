// The main frame: title, menus per model, the one-window rule, close all, the tree
// view, the exit guard and the language switch.
#include "gui_test_support.h"

#include "app/about_dlg.h"
#include "app/app_context.h"
#include "app/commands.h"
#include "app/language_setup_dlg.h"
#include "app/main_frame.h"
#include "app/program_icon.h"
#include "app/registries.h"
#include "model/new_data.h"

#include <optional>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QShortcutEvent>
#include <QTreeWidget>
#include <QtTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

// A function window standing in for the real ones: counts its refreshes.
class DummyView : public QWidget {
  public:
    DummyView(AppContext&, QWidget* parent) : QWidget(parent) { ++created; }
    void refresh() { ++refreshed; }
    static inline int created = 0;
    static inline int refreshed = 0;
};

QStringList menuTitles(QMenuBar* bar) {
    QStringList titles;
    for (QAction* a : bar->actions()) titles << a->text();
    return titles;
}

QMenu* menuWithTitle(QMenuBar* bar, const QString& title) {
    for (QAction* a : bar->actions())
        if (a->text() == title) return a->menu();
    return nullptr;
}

QList<int> commandsOf(QMenu* menu) {
    QList<int> list;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) list << a->data().toInt();
    return list;
}

void setModel(StartedApp& s, int row, int band, OptionBoard board = OptionBoard::None) {
    ModelIdentity id = models::identityFor(row, band, board);
    newDataFor(s.app->data(), id);
    s.app->data().image.setU8(0x00AD, optionByteFor(board));
    s.app->data().image.takeSnapshot();
    emit s.app->context().modelChanged();
}

} // namespace

class FrameTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        FunctionWindowRegistry::instance().add(cmd::kOptionalFeatures, windowFactory<DummyView>());
        FunctionWindowRegistry::instance().add(cmd::kTrunking, windowFactory<DummyView>());
        FunctionWindowRegistry::instance().add(cmd::kScan, windowFactory<DummyView>());
        DummyView::created = DummyView::refreshed = 0;
    }
    void titleNamesModelBandAndFile() {
        StartedApp s;
        QVERIFY(s.start());
        setModel(s, 0, 1);
        s.app->context().setCurrentFilePath("/tmp/x/Radio One.DAT");
        s.app->mainFrame()->rebuildTitle();
        QCOMPARE(s.app->mainFrame()->windowTitle(),
                 QStringLiteral("VRL-73M  [ RM-140A[8CH] : K VHF : 136-162MHz ] [ L0:83 : Radio One.DAT]"));
    }
    void titleIsMarkedWhileTheDataDifferFromTheSnapshot() {
        StartedApp s;
        QVERIFY(s.start());
        CMainFrame* f = s.app->mainFrame();
        QVERIFY(!f->windowTitle().endsWith('*'));
        s.app->data().image.setU8(0x0010, 1);
        emit s.app->context().dataChanged();
        QVERIFY(f->windowTitle().endsWith(" *"));
        s.app->data().image.takeSnapshot();
        emit s.app->context().dataChanged();
        QVERIFY(!f->windowTitle().endsWith('*'));
    }
    void menusComeFromLanguageTextsWithTheirAccelerators() {
        StartedApp s;
        QVERIFY(s.start());
        CMainFrame* f = s.app->mainFrame();
        QCOMPARE(menuTitles(f->menuBar()).first(), QStringLiteral("&File"));
        QAction* n = f->action(cmd::kFileNew);
        QCOMPARE(n->text(), QStringLiteral("&New"));
        QCOMPARE(n->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    }
    void shippedLanguageFileGivesAcceleratorsInEveryLanguage() {
        StartedApp s;
        QFile::remove(s.dir.path() + "/vrl73m.lng");
        QVERIFY(QFile::copy(VRL_SOURCE_DIR "/data/vrl73m.lng", s.dir.path() + "/vrl73m.lng"));
        QVERIFY(s.start());
        CMainFrame* f = s.app->mainFrame();
        const std::pair<int, const char*> keys[] = {{cmd::kFileNew, "Ctrl+N"}, {cmd::kFileOpen, "Ctrl+O"},
                                                    {cmd::kFileSave, "Ctrl+S"}, {cmd::kModelInformation, "Ctrl+M"}};
        for (int language : {0, 1}) {
            s.app->lang().setCurrentLanguage(language);
            emit s.app->context().languageChanged();
            for (const auto& [command, key] : keys)
                QCOMPARE(f->action(command)->shortcut(), QKeySequence(QString::fromLatin1(key)));
        }
        QCOMPARE(menuTitles(f->menuBar()).first(), s.app->context().text(84));
    }
    void eightChannelModelHasNoScanEntry() {
        StartedApp s;
        QVERIFY(s.start());
        CMainFrame* f = s.app->mainFrame();
        setModel(s, 4, 0); // 128 channels
        QVERIFY(commandsOf(menuWithTitle(f->menuBar(), "L0:119")).contains(cmd::kScan));
        setModel(s, 0, 0); // 8 channels
        QVERIFY(!commandsOf(menuWithTitle(f->menuBar(), "L0:119")).contains(cmd::kScan));
        f->runCommand(cmd::kTreeView);
        QTreeWidgetItem* root = f->treeView()->tree()->topLevelItem(0);
        QCOMPARE(root->text(0), QStringLiteral("RM-140A[8CH]:K"));
        for (int i = 0; i < root->childCount(); ++i)
            QVERIFY(root->child(i)->data(0, Qt::UserRole).toInt() != cmd::kScan);
    }
    // Double-clicking DTMF in the tree did nothing: windows that are not part of
    // the program were offered. A window that registers shows up by itself.
    void regressionTreeAndEditMenuOfferOnlyWindowsThatOpen() {
        StartedApp s;
        QVERIFY(s.start());
        CMainFrame* f = s.app->mainFrame();
        setModel(s, 4, 0); // 128 channels: every optional entry applies
        const WindowFactory* real = FunctionWindowRegistry::instance().find(cmd::kDtmf);
        const std::optional<WindowFactory> saved = real ? std::optional<WindowFactory>(*real) : std::nullopt;
        FunctionWindowRegistry::instance().remove(cmd::kDtmf);
        emit s.app->context().modelChanged();
        f->runCommand(cmd::kTreeView);
        auto offered = [f] {
            QList<int> tree;
            QTreeWidgetItem* root = f->treeView()->tree()->topLevelItem(0);
            for (int i = 0; i < root->childCount(); ++i)
                tree << root->child(i)->data(0, Qt::UserRole).toInt();
            return tree;
        };
        const QList<int> tree = offered();
        QVERIFY(!tree.contains(cmd::kDtmf));
        // The Edit menu: Undo and Redo, then the same windows as the tree.
        QList<int> windows = commandsOf(menuWithTitle(f->menuBar(), "L0:119"));
        windows.removeAll(cmd::kEditUndo);
        windows.removeAll(cmd::kEditRedo);
        QCOMPARE(windows, tree);
        for (int command : tree)
            QVERIFY(FunctionWindowRegistry::instance().find(command));
        // Separators never double up or stand at an end.
        const QList<QAction*> items = menuWithTitle(f->menuBar(), "L0:119")->actions();
        QVERIFY(!items.front()->isSeparator() && !items.back()->isSeparator());
        for (qsizetype i = 1; i < items.size(); ++i)
            QVERIFY(!(items[i]->isSeparator() && items[i - 1]->isSeparator()));

        FunctionWindowRegistry::instance().add(cmd::kDtmf, windowFactory<DummyView>());
        emit s.app->context().modelChanged();
        QVERIFY(offered().contains(cmd::kDtmf));
        FunctionWindowRegistry::instance().remove(cmd::kDtmf);
        if (saved) FunctionWindowRegistry::instance().add(cmd::kDtmf, *saved);
    }
    void treeViewIsWideEnoughForItsLongestEntry() {
        StartedApp s;
        QFile::remove(s.dir.path() + "/vrl73m.lng");
        QVERIFY(QFile::copy(VRL_SOURCE_DIR "/data/vrl73m.lng", s.dir.path() + "/vrl73m.lng"));
        QVERIFY(s.start());
        s.app->lang().setCurrentLanguage(1); // the longer German names
        emit s.app->context().languageChanged();
        FunctionWindowRegistry::instance().add(cmd::kOperatorSelTone, windowFactory<DummyView>());
        setModel(s, 4, 0);
        CMainFrame* f = s.app->mainFrame();
        f->runCommand(cmd::kTreeView);
        QTreeWidget* tree = f->treeView()->tree();
        QVERIFY(QTest::qWaitForWindowExposed(f->treeView()));
        QTreeWidgetItem* root = tree->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i) {
            const QRect shown = tree->visualItemRect(root->child(i));
            const int textWidth = tree->fontMetrics().horizontalAdvance(root->child(i)->text(0));
            QVERIFY2(shown.left() + textWidth + tree->iconSize().width() <=
                         tree->viewport()->width(),
                     qPrintable(root->child(i)->text(0)));
        }
        if (qEnvironmentVariableIsSet("VRL_SCREENSHOT_DIR"))
            f->treeView()->grab().save(qEnvironmentVariable("VRL_SCREENSHOT_DIR") +
                                       "/tree_view_de.png");
        FunctionWindowRegistry::instance().remove(cmd::kOperatorSelTone);
    }
    // Ctrl+W did nothing: the child window's own close key took it too. Every key the
    // menus show belongs to one item only, and pressing it runs that item.
    void regressionEveryShownAcceleratorIsUniqueAndWorks() {
        StartedApp s;
        QFile::remove(s.dir.path() + "/vrl73m.lng");
        QVERIFY(QFile::copy(VRL_SOURCE_DIR "/data/vrl73m.lng", s.dir.path() + "/vrl73m.lng"));
        QVERIFY(s.start({}, true));
        setModel(s, 0, 0, OptionBoard::Trunking); // the trunking items carry keys too
        CMainFrame* f = s.app->mainFrame();
        f->runCommand(cmd::kChannelInformation);
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        // Records the shortcut events an action receives, without running its command.
        struct Catcher : QObject {
            int hits = 0;
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() != QEvent::Shortcut) return false;
                if (!static_cast<QShortcutEvent*>(e)->isAmbiguous()) ++hits;
                return true;
            }
        };
        QHash<QKeySequence, QString> owners;
        for (int language : {0, 1}) {
            s.app->lang().setCurrentLanguage(language);
            emit s.app->context().languageChanged();
            f->runCommand(cmd::kChannelInformation);
            QWidget* focus = f->functionWindow(cmd::kChannelInformation);
            QVERIFY(focus);
            owners.clear();
            for (QAction* a : f->findChildren<QAction*>()) {
                for (const QKeySequence& key : a->shortcuts()) {
                    QVERIFY2(
                        !owners.contains(key),
                        qPrintable(key.toString() + ": " + owners.value(key) + " / " + a->text()));
                    owners.insert(key, a->text());
                }
            }
            int shown = 0;
            for (QMenu* menu : f->menuBar()->findChildren<QMenu*>()) {
                for (QAction* a : menu->actions()) {
                    if (a->shortcut().isEmpty() || !a->isEnabled()) continue;
                    ++shown;
                    Catcher catcher;
                    a->installEventFilter(&catcher);
                    QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget()
                                                                   : focus,
                                       a->shortcut());
                    a->removeEventFilter(&catcher);
                    QVERIFY2(catcher.hits == 1,
                             qPrintable(a->shortcut().toString() + " " + a->text()));
                }
            }
            QVERIFY(shown >= 8);
            // Export PDF and Exit both took Alt+X. Within a menu each access key
            // belongs to one item.
            for (QMenu* menu : f->menuBar()->findChildren<QMenu*>()) {
                QHash<QChar, QString> keys;
                for (QAction* a : menu->actions()) {
                    const QString text = a->text().section(QLatin1Char('\t'), 0, 0);
                    const qsizetype amp = text.indexOf(QLatin1Char('&'));
                    if (amp < 0 || amp + 1 >= text.size()) continue;
                    const QChar key = text.at(amp + 1).toLower();
                    QVERIFY2(!keys.contains(key),
                             qPrintable(menu->title() + ": " + keys.value(key) + " / " + text));
                    keys.insert(key, text);
                }
            }
        }
    }
    // The program and its child windows showed the toolkit's logo.
    void regressionProgramAndChildWindowsShowTheProgramIcon() {
        StartedApp s;
        QVERIFY(s.start());
        CMainFrame* f = s.app->mainFrame();
        const QIcon icon = QApplication::windowIcon();
        QVERIFY(!icon.pixmap(32, 32).isNull());
        f->runCommand(cmd::kOptionalFeatures);
        QCOMPARE(f->mdiArea()->activeSubWindow()->windowIcon().pixmap(16, 16).toImage(),
                 icon.pixmap(16, 16).toImage());
        QCOMPARE(f->windowIcon().pixmap(16, 16).toImage(), programIcon().pixmap(16, 16).toImage());
    }
    void trunkingItemsOnlyWithTheTrunkingBoard() {
        StartedApp s;
        QVERIFY(s.start());
        CMainFrame* f = s.app->mainFrame();
        QVERIFY(!commandsOf(menuWithTitle(f->menuBar(), "L0:132")).contains(cmd::kReadFromTrunkingBoard));
        setModel(s, 0, 0, OptionBoard::Trunking);
        QVERIFY(commandsOf(menuWithTitle(f->menuBar(), "L0:132")).contains(cmd::kReadFromTrunkingBoard));
    }
    void radioCommandsWithoutHandlerAreDisabled() {
        StartedApp s;
        QVERIFY(s.start());
        CMainFrame* f = s.app->mainFrame();
        CommandRegistry::instance().remove(cmd::kCheckSum);
        f->rebuildMenus();
        QVERIFY(!f->action(cmd::kCheckSum)->isEnabled());
        int ran = 0;
        CommandRegistry::instance().add(cmd::kCheckSum, [&ran](FrameHost&) { ++ran; });
        f->rebuildMenus();
        QVERIFY(f->action(cmd::kCheckSum)->isEnabled());
        f->action(cmd::kCheckSum)->trigger();
        QCOMPARE(ran, 1);
        CommandRegistry::instance().remove(cmd::kCheckSum);
    }
    void openingAnOpenWindowActivatesIt() {
        StartedApp s;
        QVERIFY(s.start());
        CMainFrame* f = s.app->mainFrame();
        f->closeAllFunctionWindows();
        f->runCommand(cmd::kOptionalFeatures);
        f->runCommand(cmd::kOptionalFeatures);
        QCOMPARE(DummyView::created, 1);
        QCOMPARE(f->functionWindowCount(), 1);
        QCOMPARE(f->mdiArea()->subWindowList().size(), 1);
        QVERIFY(menuWithTitle(f->menuBar(), "L0:150")); // Window menu while a window is open
        emit s.app->context().dataChanged();
        QCOMPARE(DummyView::refreshed, 1);
        f->closeAllFunctionWindows();
        QCOMPARE(f->functionWindowCount(), 0);
        QVERIFY(!menuWithTitle(f->menuBar(), "L0:150"));
        f->runCommand(cmd::kOptionalFeatures);
        QCOMPARE(DummyView::created, 2);
    }
    void closingAWindowUnregistersIt() {
        StartedApp s;
        QVERIFY(s.start());
        CMainFrame* f = s.app->mainFrame();
        f->closeAllFunctionWindows();
        f->runCommand(cmd::kOptionalFeatures);
        delete f->functionWindow(cmd::kOptionalFeatures);
        QTRY_COMPARE(f->functionWindowCount(), 0);
    }
    void regressionViewClosingItselfTakesItsFrameAlong() {
        StartedApp s;
        QVERIFY(s.start());
        CMainFrame* f = s.app->mainFrame();
        f->closeAllFunctionWindows();
        f->runCommand(cmd::kOptionalFeatures);
        f->functionWindow(cmd::kOptionalFeatures)->close(); // as Esc in a view does
        QTRY_COMPARE(f->functionWindowCount(), 0);
        QCOMPARE(f->mdiArea()->subWindowList().size(), 0);
    }
    // A view deleted leaves its frame until the queued close: opening that window
    // again, refreshing or closing all windows in between dereferenced the missing view.
    void regressionWindowWhoseViewIsGoneIsNoLongerOpen() {
        enum class Then { Reopen, Refresh, CloseAll };
        for (const Then then : {Then::Reopen, Then::Refresh, Then::CloseAll}) {
            StartedApp s;
            QVERIFY(s.start());
            CMainFrame* f = s.app->mainFrame();
            f->closeAllFunctionWindows();
            DummyView::created = DummyView::refreshed = 0;
            f->runCommand(cmd::kScan);
            f->runCommand(cmd::kOptionalFeatures); // the frame that loses its view is active
            delete f->functionWindow(cmd::kOptionalFeatures);
            QCOMPARE(f->functionWindowCount(), 1);
            QVERIFY(!f->functionWindow(cmd::kOptionalFeatures));
            switch (then) {
            case Then::Reopen:
                f->runCommand(cmd::kOptionalFeatures);
                QCOMPARE(DummyView::created, 3);
                QVERIFY(f->functionWindow(cmd::kOptionalFeatures));
                break;
            case Then::Refresh:
                emit s.app->context().dataChanged();
                QCOMPARE(DummyView::refreshed, 1);
                break;
            case Then::CloseAll:
                f->closeAllFunctionWindows();
                QCOMPARE(f->functionWindowCount(), 0);
                break;
            }
            // The empty frame closes; a window opened again is the one registered.
            QCoreApplication::processEvents();
            QCOMPARE(f->mdiArea()->subWindowList().size(), f->functionWindowCount());
        }
    }
    void aboutListsTheModelsOfTheThreeFamilies() {
        QCOMPARE(CAboutDlg::supportedModels(),
                 QStringLiteral("RM-140A, RM-150A, RM-160A, RM-440A, RM-450A, RM-460A\n"
                                "RP-110A, RP-120A, RP-150A, RP-130A\n"
                                "RP-410A, RP-420A, RP-450A, RP-430A, RP-470A"));
    }
    void dataReplacedOnOpenAndNew() {
        StartedApp s;
        QVERIFY(s.start());
        int replaced = 0;
        connect(&s.app->context(), &AppContext::dataReplaced, this, [&replaced] { ++replaced; });
        s.messages.answer({QMessageBox::Ok});
        s.app->mainFrame()->runCommand(cmd::kFileNew);
        QCOMPARE(replaced, 1);
    }
    void trunkingWindowAsksFirst() {
        StartedApp s;
        QVERIFY(s.start());
        setModel(s, 0, 0, OptionBoard::Trunking);
        CMainFrame* f = s.app->mainFrame();
        s.messages.answer({QMessageBox::Cancel});
        f->runCommand(cmd::kTrunking);
        QVERIFY(!f->functionWindow(cmd::kTrunking));
        QCOMPARE(s.messages.asked.back().text, QStringLiteral("L0:14"));
        QCOMPARE(s.messages.asked.back().caption, QStringLiteral("L0:82"));
        QVERIFY(s.messages.asked.back().cancelIsDefault);
        s.messages.answer({QMessageBox::Ok});
        f->runCommand(cmd::kTrunking);
        QVERIFY(f->functionWindow(cmd::kTrunking));
        const size_t asked = s.messages.asked.size();
        f->runCommand(cmd::kTrunking); // already open: no question
        QCOMPARE(s.messages.asked.size(), asked);
    }
    void exitAsksTwiceWithUnsavedData() {
        StartedApp s;
        QVERIFY(s.start());
        CMainFrame* f = s.app->mainFrame();
        s.app->data().image.setU8(0x0010, 1);
        s.messages.answer({QMessageBox::Yes, QMessageBox::Cancel});
        QVERIFY(!f->close());
        QCOMPARE(s.messages.texts(), (QStringList{"L0:19", "L0:20\"vrl73m.dat\"?"}));
        QCOMPARE(s.messages.asked[0].caption, QStringLiteral("L0:81"));
        QCOMPARE(s.messages.asked[1].caption, QStringLiteral("L0:80"));
        s.messages.clear();
        s.messages.answer({QMessageBox::Yes, QMessageBox::No});
        QVERIFY(f->close());
    }
    void exitAnsweredNoKeepsRunning() {
        StartedApp s;
        QVERIFY(s.start());
        s.messages.answer({QMessageBox::No});
        QVERIFY(!s.app->mainFrame()->close());
        QCOMPARE(s.messages.asked.size(), size_t(1));
    }
    void busyFrameRefusesToClose() {
        StartedApp s;
        QVERIFY(s.start());
        s.app->mainFrame()->setBusy(true);
        QVERIFY(!s.app->mainFrame()->close());
        QVERIFY(s.messages.asked.empty());
    }
    void enterInTheLanguageChoiceMovesOnInsteadOfClosing() {
        StartedApp s;
        QVERIFY(s.start());
        CLanguageSetupDlg dlg(s.app->context(), nullptr);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.activateWindow();
        dlg.combo()->setFocus();
        QTest::keyClick(dlg.combo(), Qt::Key_Return);
        QVERIFY(dlg.isVisible());
        QVERIFY(dlg.focusWidget() != dlg.combo());
        QTest::keyClick(dlg.focusWidget(), Qt::Key_Return); // on OK: closes
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
    // "Langu... Setup": the dialog was narrower than its translated title.
    void regressionLanguageSetupShowsItsWholeTitle() {
        StartedApp s;
        QFile::remove(s.dir.path() + "/vrl73m.lng");
        QVERIFY(QFile::copy(VRL_SOURCE_DIR "/data/vrl73m.lng", s.dir.path() + "/vrl73m.lng"));
        QVERIFY(s.start());
        for (int language : {0, 1}) {
            s.app->lang().setCurrentLanguage(language);
            CLanguageSetupDlg dlg(s.app->context(), nullptr);
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            const int title =
                QFontMetrics(QApplication::font()).horizontalAdvance(dlg.windowTitle());
            QVERIFY2(dlg.width() >= title + 100, qPrintable(QStringLiteral("%1 %2 %3 %4")
                                                                .arg(dlg.windowTitle())
                                                                .arg(dlg.width())
                                                                .arg(title)
                                                                .arg(dlg.minimumWidth())));
        }
    }
    void languageSwitchRetitlesMenus() {
        StartedApp s;
        QVERIFY(s.start());
        CMainFrame* f = s.app->mainFrame();
        CLanguageSetupDlg dlg(s.app->context(), f);
        QCOMPARE(dlg.combo()->count(), 2);
        QCOMPARE(dlg.combo()->itemText(1), QStringLiteral("Lang1"));
        s.app->lang().setCurrentLanguage(1);
        emit s.app->context().languageChanged();
        QCOMPARE(f->action(cmd::kFileNew)->text(), QStringLiteral("&Neu"));
        QVERIFY(menuTitles(f->menuBar()).contains("L1:117"));
        QCOMPARE(f->menuBar()->font().pixelSize(), 13);
    }
};

QTEST_MAIN(FrameTest)
#include "app_frame_test.moc"
