// File > Import Channels and Export Channels in the running program: both layouts
// round-trip through New data, a refused file changes nothing, CHIRP rows go to the
// chosen group, and an import is one undo step that open windows follow.
#include "gui_test_support.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "app/settings_values.h"
#include "channels/channel_csv.h"
#include "channels/channel_grid.h"
#include "channels/channel_info_view.h"
#include "channels/channel_services.h"
#include "model/model_table.h"

#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QtTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

struct Session {
    StartedApp s;
    CMainFrame* frame = nullptr;

    // A 128-channel mobile radio: groups of up to 128 channels.
    bool start(bool show = false) {
        const ModelIdentity id = models::identityFor(4, 0, OptionBoard::None);
        s.setting("LastModel", QString::fromStdString(formatLastModel(id)));
        if (!s.start({}, show)) return false;
        frame = s.app->mainFrame();
        return true;
    }
    AppContext& ctx() { return s.app->context(); }
    CDataImage& image() { return s.app->data().image; }
    ChannelStore& store() { return ChannelServices::of(ctx()).store(); }
    QString path(const QString& name) const { return s.dir.path() + '/' + name; }
    std::string table() { return channelCsvText(store(), ChannelCsvFormat::Own); }
    std::vector<uint8_t> bytes() { return {image().bytes().begin(), image().bytes().end()}; }

    // Channels of group 1 with the fields both layouts carry.
    void fill() {
        store().setText("150.0125", 0, 0, ChannelField::Receive);
        store().setText("151", 0, 1, ChannelField::Receive);
        store().setText("152.5", 0, 1, ChannelField::Transmit);
        store().setText("153.25", 0, 2, ChannelField::Receive);
        store().setChoice(ChannelField::Width, 0, 2, 1);
    }
    // New data of the same model, the questions answered.
    void newData() {
        s.messages.answer({QMessageBox::Ok, QMessageBox::No});
        frame->runCommand(cmd::kFileNew);
        s.messages.clear();
    }
    void exportTo(const QString& file, int filter) {
        s.files.saveAnswers << path(file);
        s.files.saveFilter = filter;
        frame->runCommand(cmd::kFileExportChannels);
    }
    void importFrom(const QString& file, std::optional<int> group = std::nullopt) {
        s.files.openAnswers << path(file);
        if (group) s.files.groupAnswers << *group;
        frame->runCommand(cmd::kFileImportChannels);
    }
    void write(const QString& file, const QByteArray& text) {
        QFile f(path(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

} // namespace

class ChannelTableTest : public QObject {
    Q_OBJECT
  private slots:
    void exportThenImportIntoNewDataGivesTheSameChannels_data();
    void exportThenImportIntoNewDataGivesTheSameChannels();
    void refusedFileLeavesTheDataUnchanged_data();
    void refusedFileLeavesTheDataUnchanged();
    void chirpRowsGoToTheChosenGroupAndUndoTakesThemBack();
    void failedExportIsShown();
    void fileMenuScreenshot();
};

void ChannelTableTest::exportThenImportIntoNewDataGivesTheSameChannels_data() {
    QTest::addColumn<int>("filter");
    QTest::newRow("own") << 0;
    QTest::newRow("chirp") << 1;
}

void ChannelTableTest::exportThenImportIntoNewDataGivesTheSameChannels() {
    QFETCH(int, filter);
    Session w;
    QVERIFY(w.start());
    QVERIFY(w.store().groupCount() > 1);
    w.fill();
    const std::string before = w.table();
    w.exportTo("table.csv", filter);
    QCOMPARE(w.s.files.tableFilters, QStringList({textOf(115), textOf(116)}));
    QVERIFY(QFile::exists(w.path("table.csv")));

    w.newData();
    QCOMPARE(w.store().channelsInUse(), 0);
    QVERIFY(!w.image().isModified());
    w.importFrom("table.csv", 1);
    QVERIFY2(w.s.messages.texts().isEmpty(), qPrintable(w.s.messages.texts().join('\n')));
    // No group question: own rows name their places, and so do the Comments the
    // CHIRP export writes.
    QCOMPARE(w.s.files.groupQuestions.size(), 0);
    QCOMPARE(w.table(), before);
    QVERIFY(w.image().isModified());
}

void ChannelTableTest::refusedFileLeavesTheDataUnchanged_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("where"); // the start of the first message
    QTest::newRow("own: bad frequency in the second row")
        << QByteArray("Group,Channel,Receive\r\n1,5,151\r\n1,6,abc\r\n")
        << "line 3, column 3 (Receive): ";
    QTest::newRow("chirp: bad frequency") << QByteArray("Location,Frequency\n1,151.000000\n2,x\n")
                                          << "line 3, column 2 (Frequency): ";
    QByteArray many("Location,Frequency\n"); // three channels are in use already
    for (int i = 1; i <= 129; ++i)
        many += QByteArray::number(i) + ",150\n";
    QTest::newRow("chirp: more rows than the radio holds")
        << many << "line 127: only 125 of the 129 rows fit: the radio holds 128 channels";
    QTest::newRow("quote not closed")
        << QByteArray("Group,Channel,Receive\n\"1,5,151\n") << "line 2: ";
    QTest::newRow("empty file") << QByteArray() << "line 1: ";
}

void ChannelTableTest::refusedFileLeavesTheDataUnchanged() {
    QFETCH(QByteArray, text);
    QFETCH(QString, where);
    Session w;
    QVERIFY(w.start());
    w.fill();
    w.image().takeSnapshot();
    w.ctx().recordEdit(QString());
    const auto before = w.bytes();
    const size_t steps = w.ctx().history().undoCount();
    w.write("bad.csv", text);
    w.importFrom("bad.csv", 1);
    QCOMPARE(w.s.messages.asked.size(), size_t(1));
    const QStringList lines = w.s.messages.asked[0].text.split('\n');
    QCOMPARE(lines.value(0), textOf(121));
    QVERIFY2(lines.value(2).startsWith(where), qPrintable(lines.value(2)));
    QVERIFY(w.bytes() == before);
    QVERIFY(!w.image().isModified());
    QCOMPARE(w.ctx().history().undoCount(), steps);
}

void ChannelTableTest::chirpRowsGoToTheChosenGroupAndUndoTakesThemBack() {
    Session w;
    QVERIFY(w.start());
    w.frame->runCommand(cmd::kChannelInformation);
    auto* view = qobject_cast<CChannelInfoView*>(w.frame->functionWindow(cmd::kChannelInformation));
    QVERIFY(view);
    view->showGroup(4, 0);
    w.write("chirp.csv", "Location,Frequency,Name\n1,151.500000,ONE\n2,152.500000,TWO\n");
    const auto before = w.bytes();

    // Cancelling the group question imports nothing.
    w.importFrom("chirp.csv");
    QVERIFY(w.bytes() == before);

    w.importFrom("chirp.csv", 6);
    QCOMPARE(w.s.files.groupQuestions.last(), qMakePair(w.store().groupCount(), 5));
    QVERIFY(w.store().exists(5, 0) && w.store().exists(5, 1));
    QCOMPARE(w.store().channelsInUse(), 2);
    // One step, named after the command.
    QCOMPARE(w.ctx().history().undoLabel(), textOf(113).toStdString());

    // The grid shows the group it showed; moved to group 6 it shows the rows.
    view->showGroup(5, 0);
    CChannelGrid* grid = view->grid();
    const int column = grid->columnOfField(ChannelField::Receive);
    QVERIFY(column >= 0);
    QCOMPARE(grid->item(grid->rowOf(5, 1), column)->text().toStdString(),
             *w.store().getText(ChannelField::Receive, 5, 1));

    w.frame->runCommand(cmd::kEditUndo);
    QVERIFY(w.bytes() == before);
    QVERIFY(grid->item(grid->rowOf(5, 1), column)->text().isEmpty());
    w.frame->runCommand(cmd::kEditRedo);
    QCOMPARE(w.store().channelsInUse(), 2);
}

// A file that cannot be written is named with the reason, after the export's own text.
void ChannelTableTest::failedExportIsShown() {
    Session w;
    QVERIFY(w.start());
    w.fill();
    w.exportTo("missing/table.csv", 0);
    QCOMPARE(w.s.messages.asked.size(), size_t(1));
    const QString text = w.s.messages.asked[0].text;
    QVERIFY2(text.startsWith(textOf(123) + "\n\n") && text.contains("table.csv"), qPrintable(text));
    QVERIFY(!QFile::exists(w.path("missing/table.csv")));
}

// A picture of the File menu in English with the shipped language file, when
// VRL_SCREENSHOT_DIR names a folder (scripts/screenshot-views.sh).
void ChannelTableTest::fileMenuScreenshot() {
    const QString dir = qEnvironmentVariable("VRL_SCREENSHOT_DIR");
    if (dir.isEmpty()) QSKIP("VRL_SCREENSHOT_DIR not set");
    Session w;
    const QString lng = w.path("vrl73m.lng");
    QVERIFY(QFile::remove(lng) && QFile::copy(VRL_SOURCE_DIR "/data/vrl73m.lng", lng));
    QVERIFY(w.start(true));
    w.frame->resize(900, 560);
    QVERIFY(QTest::qWaitForWindowExposed(w.frame));
    // The menus are rebuilt while the program settles; the File popup of the last build.
    QTest::qWait(300);
    QMenuBar* bar = w.frame->menuBar();
    QAction* fileAction = bar->actions().value(0);
    QVERIFY(fileAction && fileAction->menu());
    QPointer<QMenu> menu = fileAction->menu();
    menu->popup(bar->mapToGlobal(bar->actionGeometry(fileAction).bottomLeft()));
    QTest::qWait(200);
    QVERIFY(menu && menu->isVisible());
    QVERIFY(menu->actions().contains(w.frame->action(cmd::kFileImportChannels)));
    // The frame with the open menu painted over it where it shows.
    QPixmap picture = w.frame->grab();
    QPainter painter(&picture);
    painter.drawPixmap(menu->pos() - w.frame->mapToGlobal(QPoint(0, 0)), menu->grab());
    painter.end();
    QVERIFY(picture.save(dir + "/file-menu.png"));
    menu->close();
}

QTEST_MAIN(ChannelTableTest)
#include "file_channel_table_test.moc"
