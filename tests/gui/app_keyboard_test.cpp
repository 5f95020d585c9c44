// The program on its shipped language files, as a keyboard user meets it: which
// control has the keyboard when a window opens, the tab-page and close keys, Enter
// in the copy tools, the safe default of a write, undo of a model change with its
// file, windows that show all their texts in both languages, and refusals that say
// why.
#include "gui_test_support.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "channels/channel_grid.h"
#include "channels/channel_services.h"
#include "channels/copy_dialogs.h"
#include "link/transfer_dlg.h"
#include "model/new_data.h"
#include "widgets/filtered_edit.h"
#include "widgets/form_view.h"
#include "widgets/spin_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

// A started, shown program on the shipped language file and its supplement.
struct RealApp : StartedApp {
    RealApp() : StartedApp(2, false) {
        for (const char* name : {"vrl73m.lng", "vrl73m-extra.lng"})
            QFile::copy(QStringLiteral(VRL_SOURCE_DIR "/data/") + name, dir.path() + '/' + name);
    }
    bool run() {
        if (!start({}, true)) return false;
        frame()->activateWindow();
        return QTest::qWaitForWindowActive(frame()) &&
               QTest::qWaitFor([this] { return frame()->functionWindow(cmd::kChannelInformation); });
    }
    CMainFrame* frame() { return app->mainFrame(); }
    AppContext& ctx() { return app->context(); }
    void useModel(int row, int band) {
        newDataFor(app->data(), models::identityFor(row, band, OptionBoard::None));
        app->data().image.takeSnapshot();
        emit ctx().modelChanged();
    }
};

QWidget* focused() { return QApplication::focusWidget(); }

template <class T> bool focusIsIn(QWidget* view) {
    QWidget* f = focused();
    if (!f || f == view || !view->isAncestorOf(f)) return false;
    for (QWidget* w = f; w && w != view; w = w->parentWidget())
        if (qobject_cast<T*>(w)) return true;
    return false;
}

// The controls of `root` whose text does not fit their width, as "text (needs/has)".
// Labels, buttons and combo boxes need their minimum size (their text's), edits
// their text, tabs and column headers their captions.
QStringList cutTexts(QWidget* root) {
    QStringList cut;
    auto check = [&cut](const QWidget* w, const QString& text, int needed, int has) {
        if (!text.isEmpty() && needed > has)
            cut << QStringLiteral("%1 \"%2\" (%3/%4)").arg(w->metaObject()->className(), text).arg(needed).arg(has);
    };
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root)) continue;
        const QFontMetrics fm(w->font());
        if (auto* l = qobject_cast<QLabel*>(w))
            check(w, l->text(), w->minimumSizeHint().width(), w->width());
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            check(w, b->text(), w->minimumSizeHint().width(), w->width());
        else if (auto* c = qobject_cast<QComboBox*>(w))
            check(w, c->currentText(), w->minimumSizeHint().width(), w->width());
        else if (auto* e = qobject_cast<QLineEdit*>(w); e && !qobject_cast<QComboBox*>(w->parentWidget()))
            check(w, e->text(), fm.horizontalAdvance(e->text()) + 8, e->width());
        else if (auto* t = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < t->count(); ++i)
                check(w, t->tabText(i), fm.horizontalAdvance(t->tabText(i)), t->tabRect(i).width());
        else if (auto* h = qobject_cast<QHeaderView*>(w); h && h->orientation() == Qt::Horizontal)
            for (int i = 0; i < h->count(); ++i)
                check(w, h->model()->headerData(i, Qt::Horizontal).toString(),
                      fm.horizontalAdvance(h->model()->headerData(i, Qt::Horizontal).toString()) + 4, h->sectionSize(i));
    }
    return cut;
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
  private slots:
    void windowsOpenWithTheKeyboardOnTheirFirstControl();
    void pageKeysChangePagesNotWindows();
    void closeKeysAndASafeWrite();
    void enterRunsTheCopyTools();
    void undoOfAModelChangeBringsBackItsFile();
    void windowsShowAllTheirTextsInBothLanguages();
    void channelInformationReopensTopLeftAndUndoFollowsTheLanguage();
    void droppedInputIsExplained();
    void screenshots();
};

void KeyboardTest::windowsOpenWithTheKeyboardOnTheirFirstControl() {
    RealApp s;
    QVERIFY(s.run());
    // Right after start-up the grid has the keyboard: a frequency typed goes in.
    QWidget* info = s.frame()->functionWindow(cmd::kChannelInformation);
    QTRY_VERIFY(focusIsIn<CChannelGrid>(info));
    QTest::keyClicks(focused(), "150.5");
    QTest::keyClick(focused(), Qt::Key_Return);
    QTRY_VERIFY(s.frame()->windowTitle().endsWith(" *"));

    // Windows named for their control, and every other one on a control of its own.
    s.useModel(0, 5);
    const std::map<int, const char*> named{{cmd::kExtendedFunction, "QComboBox"},
                                           {cmd::kTestFrequency, "QTableWidget"},
                                           {cmd::kOperatorSelTone, "QTableWidget"}};
    std::vector<int> commands{cmd::kChannelEdit, cmd::kGroupEdit};
    for (const FunctionEntry& e : s.frame()->functionList())
        if (!e.isSeparator()) commands.push_back(e.command);
    for (int command : commands) {
        s.frame()->runCommand(command);
        QWidget* view = s.frame()->functionWindow(command);
        QVERIFY2(view, qPrintable(QString::number(command)));
        QTRY_VERIFY2(focused() && focused() != view && view->isAncestorOf(focused()),
                     qPrintable(QString::number(command)));
        if (auto it = named.find(command); it != named.end())
            QVERIFY2(focused()->inherits(it->second) || focused()->parentWidget()->inherits(it->second),
                     focused()->metaObject()->className());
    }
}

void KeyboardTest::pageKeysChangePagesNotWindows() {
    RealApp s;
    QVERIFY(s.run());
    for (int command : {cmd::kOptionalFeatures, cmd::kDtmf}) {
        s.frame()->runCommand(command);
        QWidget* view = s.frame()->functionWindow(command);
        QMdiSubWindow* active = s.frame()->mdiArea()->activeSubWindow();
        auto* tabs = view->findChild<QTabWidget*>();
        QVERIFY(tabs);
        const int n = tabs->count();
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers mods;
            int step;
        } keys[] = {{Qt::Key_Tab, Qt::ControlModifier, 1},
                    {Qt::Key_PageDown, Qt::ControlModifier, 1},
                    {Qt::Key_PageUp, Qt::ControlModifier, -1},
                    {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, -1}};
        for (const auto& k : keys) {
            const int before = tabs->currentIndex();
            QTest::keyClick(focused(), k.key, k.mods);
            QCOMPARE(tabs->currentIndex(), (before + k.step + n) % n);
            QCOMPARE(s.frame()->mdiArea()->activeSubWindow(), active);
        }
    }
}

void KeyboardTest::closeKeysAndASafeWrite() {
    RealApp s;
    QVERIFY(s.run());
    s.frame()->runCommand(cmd::kOptionalFeatures);
    const int open = s.frame()->functionWindowCount();
    QTest::keyClick(focused(), Qt::Key_F4, Qt::ControlModifier);
    QTRY_COMPARE(s.frame()->functionWindowCount(), open - 1);
    QVERIFY(!s.frame()->functionWindow(cmd::kOptionalFeatures));

    // Enter in a write dialog cancels; in a read dialog it starts.
    for (TransferKind kind : {TransferKind::WriteRadio, TransferKind::WriteBoard, TransferKind::ReadRadio}) {
        CTransferDlg dlg(s.ctx(), kind, [](TransferUi&) { return 1; }, nullptr);
        const bool writes = kind != TransferKind::ReadRadio;
        QCOMPARE(dlg.cancelButton()->isDefault(), writes);
        QCOMPARE(dlg.startButton()->isDefault(), !writes);
    }
}

void KeyboardTest::enterRunsTheCopyTools() {
    RealApp s;
    QVERIFY(s.run());
    s.useModel(4, 0); // 128 channels in groups
    ChannelStore& store = ChannelServices::of(s.ctx()).store();
    store.setText("150", 0, 0, ChannelField::Receive);
    {
        CFrequencyCopyDlg dlg(s.ctx(), 0, 0, nullptr);
        dlg.show();
        dlg.transmit()->setText("155");
        QTest::keyClick(dlg.transmit(), Qt::Key_Return);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(QString::fromStdString(*store.getText(ChannelField::Transmit, 0, 0)).startsWith("155"));
    }
    {
        CGroupJumpDlg dlg(s.ctx(), 0, nullptr);
        dlg.show();
        dlg.group()->edit()->setText(QString::number(store.groupCount()));
        QTest::keyClick(dlg.group()->edit(), Qt::Key_Return);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.chosen(), store.groupCount() - 1);
    }
}

void KeyboardTest::undoOfAModelChangeBringsBackItsFile() {
    RealApp s;
    QVERIFY(s.run());
    const QString test = s.dir.path() + "/TEST.dat";
    s.files.saveAnswers << test;
    s.frame()->runCommand(cmd::kFileSaveAs);
    s.files.openAnswers << test;
    s.frame()->runCommand(cmd::kFileOpen);
    QCOMPARE(s.ctx().currentFileName(), QString("TEST.dat"));

    // What a model change with its file name reset does.
    s.ctx().setProgramFilePath(s.ctx().currentFolder() + "Vrl73m.dat");
    s.useModel(4, 0);
    QVERIFY(s.frame()->windowTitle().contains("Vrl73m.dat"));
    s.frame()->runCommand(cmd::kEditUndo);
    QCOMPARE(s.ctx().currentFileName(), QString("TEST.dat"));
    QVERIFY(!s.app->data().image.isModified());
    QVERIFY(s.frame()->windowTitle().endsWith("TEST.dat]"));
    s.frame()->runCommand(cmd::kEditRedo);
    QCOMPARE(s.ctx().currentFileName(), QString("Vrl73m.dat"));
    // A Save after the program changed the name asks for it.
    s.frame()->runCommand(cmd::kFileSave);
    QCOMPARE(s.files.saveProposals.size(), 2);
}

void KeyboardTest::windowsShowAllTheirTextsInBothLanguages() {
    RealApp s;
    QVERIFY(s.run());
    struct Model {
        int row, band;
    };
    for (int language : {0, 1}) {
        s.ctx().lang().setCurrentLanguage(language);
        s.frame()->closeAllFunctionWindows();
        emit s.ctx().languageChanged();
        for (Model m : {Model{4, 0}, Model{0, 5}}) {
            s.useModel(m.row, m.band);
            std::vector<int> commands{cmd::kChannelInformation, cmd::kChannelEdit, cmd::kGroupEdit};
            for (const FunctionEntry& e : s.frame()->functionList())
        if (!e.isSeparator()) commands.push_back(e.command);
            for (int command : commands) {
                s.frame()->runCommand(command);
                QWidget* view = s.frame()->functionWindow(command);
                QVERIFY(view);
                QApplication::processEvents();
                // Every page of a window with pages.
                auto* tabs = view->findChild<QTabWidget*>();
                for (int page = 0; page < (tabs ? tabs->count() : 1); ++page) {
                    if (tabs) tabs->setCurrentIndex(page);
                    QApplication::processEvents();
                    const QStringList cut = cutTexts(view);
                    QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("language %1, %2: %3")
                                                           .arg(language)
                                                           .arg(view->windowTitle(), cut.join("; "))));
                }
                s.frame()->closeAllFunctionWindows();
            }
        }
    }
}

void KeyboardTest::channelInformationReopensTopLeftAndUndoFollowsTheLanguage() {
    RealApp s;
    QVERIFY(s.run());
    s.frame()->runCommand(cmd::kOptionalFeatures);
    s.frame()->functionWindow(cmd::kChannelInformation)->close();
    QTRY_VERIFY(!s.frame()->functionWindow(cmd::kChannelInformation));
    s.frame()->runCommand(cmd::kChannelInformation);
    QCOMPARE(s.frame()->functionWindow(cmd::kChannelInformation)->parentWidget()->pos(), QPoint(0, 0));

    // A step named in English is named in German after the switch.
    s.useModel(4, 0);
    const QString english = s.frame()->action(cmd::kEditUndo)->text();
    LanguageTable& lang = s.ctx().lang();
    lang.setCurrentLanguage(1);
    s.ctx().history().relabel([&lang](const std::string& l) { return lang.translate(l, 0, 1); });
    emit s.ctx().languageChanged();
    const QString german = s.frame()->action(cmd::kEditUndo)->text();
    QVERIFY2(german != english && german.contains(QString::fromUtf8(lang.text(118).c_str()).remove('&').section('\t', 0, 0)),
             qPrintable(german));
}

void KeyboardTest::droppedInputIsExplained() {
    RealApp s;
    QVERIFY(s.run());
    s.useModel(0, 5);
    s.frame()->runCommand(cmd::kDtmf);
    auto* view = qobject_cast<CFormView*>(s.frame()->functionWindow(cmd::kDtmf));
    QVERIFY(view);
    auto* deadBeat = qobject_cast<QLineEdit*>(view->fieldControl("dtmf.dead_beat_disable_tx"));
    QVERIFY(deadBeat);
    const struct {
        const char* typed;
        bool refused;
    } cases[] = {{"12", true}, {"123", false}, {"4", true}};
    for (const auto& c : cases) {
        const QString before = deadBeat->text();
        s.frame()->statusBar()->clearMessage();
        deadBeat->setFocus();
        deadBeat->selectAll();
        QTest::keyClicks(deadBeat, c.typed);
        QTest::keyClick(deadBeat, Qt::Key_Tab);
        QCOMPARE(s.frame()->statusBar()->currentMessage().contains(c.typed), c.refused);
        QCOMPARE(deadBeat->text(), c.refused ? before : QString(c.typed));
    }
}

// The main window with Optional Features as it opens (VRL_SCREENSHOT_DIR names the
// folder, scripts/screenshot-views.sh).
void KeyboardTest::screenshots() {
    const QString dir = qEnvironmentVariable("VRL_SCREENSHOT_DIR");
    if (dir.isEmpty()) QSKIP("VRL_SCREENSHOT_DIR not set");
    RealApp s;
    QVERIFY(s.run());
    s.useModel(4, 0);
    s.frame()->runCommand(cmd::kOptionalFeatures);
    QVERIFY(QTest::qWaitForWindowExposed(s.frame()));
    QApplication::processEvents(); // the opened window lays out and paints
    QVERIFY(s.frame()->grab().save(dir + "/optional-features-opened.png"));
}

QTEST_MAIN(KeyboardTest)
#include "app_keyboard_test.moc"
