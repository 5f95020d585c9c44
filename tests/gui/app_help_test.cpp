// Help: F1 and the Help buttons open the shipped help file in the help viewer at the
// section of the topic; a missing file is reported.
#include "app/app_context.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "channels/ch_edit_view.h"
#include "channels/channel_grid.h"
#include "channels/channel_info_view.h"
#include "features/embedded_msg_view.h"
#include "widgets/filtered_edit.h"
#include "widgets/help.h"
#include "widgets/help_viewer.h"
#include "gui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

const QString kSourceData = QStringLiteral(VRL_SOURCE_DIR "/data");

// A program started on the shipped language file; `withHelp` puts the English and
// German help files beside the executable.
struct HelpApp {
    StartedApp app{2, false};
    explicit HelpApp(bool withHelp, int language = 0) {
        QFile::copy(kSourceData + "/vrl73m.lng", app.dir.path() + "/vrl73m.lng");
        if (withHelp) {
            for (const char* name : {"vrl73m-help.html", "vrl73m-help-de.html"})
                QFile::copy(kSourceData + "/help/" + name, app.dir.path() + '/' + name);
        }
        app.setting("Language", language);
    }
    // Windows made by a test go before the program that owns their data.
    ~HelpApp() {
        for (const QPointer<QWidget>& w : windows) delete w.data();
    }
    AppContext& ctx() { return app.app->context(); }
    template <class View> View* open() {
        auto* view = new View(ctx(), nullptr);
        windows << view;
        return view;
    }
    QList<QPointer<QWidget>> windows;
};

bool activate(QWidget* w) {
    w->show();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    return QTest::qWaitForWindowActive(w);
}

CHelpViewer* viewer() { return CHelpViewer::instance(); }

} // namespace

class HelpTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { delete viewer(); }
    void f1OpensTheViewerAtTheFocusedFieldsSection();
    void helpButtonOpensTheWindowsSection();
    void f1OnTheChannelGridNamesTheColumnsField();
    void everyFieldOfTheChannelEditWindowHasItsOwnSection();
    void topicWithoutSectionShowsItsWindowThenTheContents();
    void helpTopicsOpensTheContentsAndEscClosesTheViewer();
    void theViewerIsOneWindow();
    void germanUsesTheFileNamedByItsLanguageText();
    void missingHelpFileIsReported();
    void everyLinkOfTheHelpFilesLeadsToASection();
};

void HelpTest::f1OpensTheViewerAtTheFocusedFieldsSection() {
    HelpApp h(true);
    QVERIFY(h.app.start());
    auto* view = h.open<CEmbeddedMsgView>();
    QVERIFY(activate(view));
    view->lineEdit(1)->setFocus();
    QTest::keyClick(view->lineEdit(1), Qt::Key_F1);
    QVERIFY(viewer());
    QVERIFY(viewer()->isVisible());
    QCOMPARE(viewer()->currentAnchor(), QString("0x2057D"));
    QCOMPARE(viewer()->file(), h.app.dir.path() + "/vrl73m-help.html");
    QCOMPARE(viewer()->windowTitle(), QString("VRL-73M Help"));
    QVERIFY(viewer()->browser()->toPlainText().contains("Embedded Message"));
    QVERIFY(h.app.messages.asked.empty());
}

void HelpTest::helpButtonOpensTheWindowsSection() {
    HelpApp h(true);
    QVERIFY(h.app.start());
    auto* view = h.open<CEmbeddedMsgView>();
    QVERIFY(activate(view));
    QTest::mouseClick(view->helpButton(), Qt::LeftButton);
    QVERIFY(viewer());
    QCOMPARE(viewer()->currentAnchor(), QString("0x20095"));
}

void HelpTest::f1OnTheChannelGridNamesTheColumnsField() {
    HelpApp h(true);
    QVERIFY(h.app.start());
    auto* view = h.open<CChannelInfoView>();
    QVERIFY(activate(view));
    view->grid()->setFocus();
    view->grid()->setCurrentCell(0, 1); // the transmit frequency column
    QTest::keyClick(view->grid(), Qt::Key_F1);
    QVERIFY(viewer());
    QCOMPARE(viewer()->currentAnchor(), QString("0x200C9"));
}

// F1 on each field that can take the focus lands on that field's own description, not
// on the window's: a field added without a section is caught here.
void HelpTest::everyFieldOfTheChannelEditWindowHasItsOwnSection() {
    HelpApp h(true);
    QVERIFY(h.app.start());
    auto* view = h.open<CChEditView>();
    QVERIFY(activate(view));
    // A channel on the first position, so that its fields are open for editing.
    auto* rx = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(rx);
    QTest::keyClicks(rx, "150");
    QTest::keyClick(rx, Qt::Key_Tab);
    const QString window = CHelpViewer::anchorFor(help::kTopicBase + CChEditView::kTemplateId);
    int fields = 0;
    for (QWidget* w : view->findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled()) continue;
        if (qobject_cast<QPushButton*>(w)) continue; // Close and Help show the window
        QVERIFY(activate(view));
        w->setFocus();
        QWidget* target = QApplication::focusWidget(); // a combo's or spin's own edit
        if (!target || !view->isAncestorOf(target)) continue;
        QTest::keyClick(target, Qt::Key_F1);
        QVERIFY(viewer());
        QVERIFY2(viewer()->currentAnchor() != window && viewer()->currentAnchor() != "contents",
                 qPrintable(w->metaObject()->className() + QString(" has no section")));
        QVERIFY(viewer()->currentAnchor().startsWith("0x205"));
        ++fields;
    }
    QVERIFY2(fields >= 8, qPrintable(QString::number(fields)));
}

void HelpTest::topicWithoutSectionShowsItsWindowThenTheContents() {
    HelpApp h(true);
    QVERIFY(h.app.start());
    auto* view = h.open<CEmbeddedMsgView>();
    help::open(help::kTopicBase + 4000, view->lineEdit(0));
    QVERIFY(viewer());
    QCOMPARE(viewer()->currentAnchor(), QString("0x20095"));
    help::open(help::kTopicBase + 4000, nullptr);
    QCOMPARE(viewer()->currentAnchor(), QString("contents"));
    // A topic is found whatever the case of its hex digits in the file.
    help::open(0x200aa, nullptr);
    QCOMPARE(viewer()->currentAnchor(), QString("0x200AA"));
}

void HelpTest::helpTopicsOpensTheContentsAndEscClosesTheViewer() {
    HelpApp h(true);
    QVERIFY(h.app.start());
    CMainFrame* frame = h.app.app->mainFrame();
    QVERIFY(frame->action(cmd::kHelpTopics)->isEnabled());
    frame->runCommand(cmd::kHelpTopics);
    QPointer<CHelpViewer> shown = viewer();
    QVERIFY(shown);
    QCOMPARE(shown->currentAnchor(), QString("contents"));
    QVERIFY(activate(shown));
    QTest::keyClick(shown->browser(), Qt::Key_Escape);
    QTRY_VERIFY(!shown); // closed and gone
}

void HelpTest::theViewerIsOneWindow() {
    HelpApp h(true);
    QVERIFY(h.app.start());
    help::open(0x200A5, nullptr);
    CHelpViewer* first = viewer();
    help::open(0x200AA, nullptr);
    QCOMPARE(viewer(), first);
    QCOMPARE(viewer()->currentAnchor(), QString("0x200AA"));
    int viewers = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<CHelpViewer*>(w)) ++viewers;
    QCOMPARE(viewers, 1);
}

void HelpTest::germanUsesTheFileNamedByItsLanguageText() {
    HelpApp h(true, 1);
    QVERIFY(h.app.start());
    QCOMPARE(h.ctx().text(3), QString("vrl73m-help-de.html"));
    help::open(0x20095, nullptr);
    QVERIFY(viewer());
    QCOMPARE(viewer()->file(), h.app.dir.path() + "/vrl73m-help-de.html");
    QCOMPARE(viewer()->currentAnchor(), QString("0x20095"));
    QVERIFY(viewer()->browser()->toPlainText().contains("Eingebettete Nachricht"));
}

void HelpTest::missingHelpFileIsReported() {
    HelpApp h(false);
    QVERIFY(h.app.start());
    CMainFrame* frame = h.app.app->mainFrame();
    QVERIFY(!frame->action(cmd::kHelpTopics)->isEnabled());
    auto* view = h.open<CEmbeddedMsgView>();
    QVERIFY(activate(view));
    view->lineEdit(0)->setFocus();
    QTest::keyClick(view->lineEdit(0), Qt::Key_F1);
    QVERIFY(!viewer());
    QCOMPARE(h.app.messages.asked.size(), size_t(1));
    const auto& asked = h.app.messages.asked.front();
    QVERIFY(asked.text.contains("vrl73m-help.html"));
    QVERIFY(asked.text.contains("not found"));
    QVERIFY(asked.text.contains(QDir::toNativeSeparators(h.app.dir.path())));
    QCOMPARE(asked.icon, MessageService::Icon::Warning);
}

// Every "#anchor" link in the shipped files names an anchor the file defines, and no
// anchor is defined twice.
void HelpTest::everyLinkOfTheHelpFilesLeadsToASection() {
    for (const char* name : {"vrl73m-help.html", "vrl73m-help-de.html"}) {
        QFile file(kSourceData + "/help/" + name);
        QVERIFY2(file.open(QIODevice::ReadOnly), name);
        const QString html = QString::fromUtf8(file.readAll());
        QStringList defined;
        for (const auto& m : QRegularExpression(R"re(name="([^"]+)")re").globalMatch(html))
            defined << m.captured(1);
        const QStringList unique(QSet<QString>(defined.begin(), defined.end()).values());
        QCOMPARE(unique.size(), defined.size());
        QVERIFY(defined.contains("contents"));
        int links = 0;
        for (const auto& m : QRegularExpression(R"re(href="#([^"]+)")re").globalMatch(html)) {
            QVERIFY2(defined.contains(m.captured(1)), qPrintable(name + (": #" + m.captured(1))));
            ++links;
        }
        QVERIFY(links > 10);
        // The viewer sees the same anchors.
        CHelpViewer* v = CHelpViewer::showFile(file.fileName(), {"0x20096"});
        QCOMPARE(v->currentAnchor(), QString("0x20096"));
        for (const QString& a : defined) QVERIFY2(v->anchors().contains(a), qPrintable(a));
    }
}

QTEST_MAIN(HelpTest)
#include "app_help_test.moc"
