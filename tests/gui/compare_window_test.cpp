// File > Compare with File and Program > Compare with Radio: the list by area, the
// window each row opens, and the current data left exactly as they were.
#include "link_test_support.h"

#include "app/commands.h"
#include "app/function_list.h"
#include "app/registries.h"
#include "channels/channel_info_view.h"
#include "channels/channel_services.h"
#include "channels/channel_store.h"
#include "channels/key_view.h"
#include "channels/keys.h"
#include "compare/compare_window.h"
#include "features/field_table.h"
#include "file/data_file.h"
#include "file/file_commands.h"
#include "link/transfer_dlg.h"
#include "model/image_layout.h"
#include "output/memory_map_dlg.h"
#include "widgets/form_view.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

std::string text(int i) {
    return "T" + std::to_string(i);
}

constexpr int kRow128 = 5; // 128 channels: groups, programmable keys, the extended window
constexpr int kRowPortable8 = 15;

// New data of a model (by default with 128 channels) with channels 1-1 and 1-3.
struct Doc {
    RadioData data;
    explicit Doc(int row = kRow128) {
        newDataFor(data, identityOfChoice(ModelChoice{row, 0, OptionBoard::None, 1}));
        data.model.refresh();
        ChannelStore store(data, text);
        store.setText("150.000", 0, 0, ChannelField::Receive);
        store.setText("150.500", 0, 2, ChannelField::Receive);
    }
    void set(const std::string& key, const std::string& value) {
        FieldContext ctx{data, text};
        const auto f = findField(ctx, key);
        QVERIFY2(f && assignField(*f, ctx, value).ok, key.c_str());
    }
    void flipGroupScan() {
        data.image.setBit(layout::kGroupScanBits, 0, !data.image.bit(layout::kGroupScanBits, 0));
    }
    QString save(const QString& path) const {
        return writeDataFile(path.toStdString(), data.image).result == kFileOk ? path : QString();
    }
};

// The program with the document `a` opened from a file, unmodified.
struct Session {
    StartedApp s;
    CMainFrame* frame = nullptr;

    bool start(const Doc& a) {
        if (!s.start({}, true)) return false;
        frame = s.app->mainFrame();
        const QString path = a.save(s.dir.path() + "/current.dat");
        return !path.isEmpty() && frame->fileCommands().openPath(path);
    }
    AppContext& ctx() { return s.app->context(); }
    // Compare with File on `b`; the window, or null.
    CCompareWindow* compareWith(const Doc& b) {
        s.files.openAnswers << b.save(s.dir.path() + "/other.dat");
        frame->runCommand(cmd::kFileCompare);
        return frame->findChild<CCompareWindow*>();
    }
};

// The row of the difference with `key`; "" for the first memory row.
QTreeWidgetItem* rowOf(CCompareWindow* w, const std::string& key) {
    const auto& diffs = w->comparison().differences;
    for (QTreeWidgetItemIterator it(w->tree()); *it; ++it) {
        const int i = (*it)->data(0, Qt::UserRole).toInt();
        if (i >= 0 && (key.empty() ? diffs[size_t(i)].isMemory() : diffs[size_t(i)].key == key))
            return *it;
    }
    return nullptr;
}

// Keys are named by their caption in the program's language.
std::string secondKeyCompareKey() {
    Doc d;
    const TextSource programTexts = [](int i) { return textOf(i).toStdString(); };
    return fieldKey("key", KeyAssignment(d.data, programTexts).current().caption(1));
}

} // namespace

class CompareWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { dropPendingDialogs(); }

    void everyAreaHasAWindowToOpen() {
        for (const FieldArea& area : fieldAreas()) {
            const int command = commandOfArea(area.name);
            QVERIFY2(command != 0, area.name.c_str());
            QVERIFY2(FunctionWindowRegistry::instance().find(command), area.name.c_str());
        }
        for (const char* area : {"channel", "key"})
            QVERIFY(FunctionWindowRegistry::instance().find(commandOfArea(area)));
        QVERIFY(CommandRegistry::instance().find(commandOfArea("memory")));
    }

    void fileDifferencesAreListedUnderTheirAreas() {
        Doc a, b;
        b.set("message.line_1", "HELLO");
        ChannelStore(b.data, text).setText("151.000", 0, 2, ChannelField::Receive);
        Session w;
        QVERIFY(w.start(a));
        // Both commands are on their menus (the text is set as a menu item is added).
        for (auto [command, textIndex] :
             {std::pair{cmd::kFileCompare, 486}, {cmd::kCompareWithRadio, 487}}) {
            QCOMPARE(w.frame->action(command)->text(), textOf(textIndex));
            QVERIFY(w.frame->action(command)->isEnabled());
        }
        const std::vector<uint8_t> before(w.ctx().data().image.bytes().begin(),
                                          w.ctx().data().image.bytes().end());
        CCompareWindow* win = w.compareWith(b);
        QVERIFY(win && win->isVisible());

        QTreeWidget* tree = win->tree();
        QCOMPARE(tree->topLevelItemCount(), 2);
        QCOMPARE(tree->topLevelItem(0)->text(0), textOf(476) + " (1)");
        QCOMPARE(tree->topLevelItem(1)->text(0), textOf(173) + " (1)");
        QTreeWidgetItem* line = tree->topLevelItem(0)->child(0);
        QCOMPARE(line->text(1), QString());
        QCOMPARE(line->text(2), QString("HELLO"));
        QTreeWidgetItem* channel = tree->topLevelItem(1)->child(0);
        QVERIFY(channel->text(0).startsWith(textOf(206) + " 1 " + textOf(207) + " 3"));
        QCOMPARE(channel->text(1), QString("150.50000"));
        QCOMPARE(channel->text(2), QString("151.00000"));
        QCOMPARE(tree->headerItem()->text(2), QString("other.dat"));
        QCOMPARE(win->summary()->text(), textOf(489) + " 2");
        QVERIFY(win->note()->isHidden());

        // Nothing of the open document changed.
        QVERIFY(std::equal(before.begin(), before.end(), w.ctx().data().image.bytes().begin()));
        QVERIFY(!w.ctx().data().image.isModified());
        QVERIFY(w.ctx().currentFilePath().endsWith("/current.dat"));
        QVERIFY(!w.ctx().history().canUndo());

        // The list follows the current data: the same line typed here leaves one.
        FieldContext fc{w.ctx().data(), text};
        QVERIFY(assignField(*findField(fc, "message.line_1"), fc, "HELLO").ok);
        emit w.ctx().dataChanged();
        emit w.ctx().dataChanged();
        QCOMPARE(tree->topLevelItemCount(), 2); // compared when the program is idle
        QCoreApplication::processEvents();
        QCOMPARE(tree->topLevelItemCount(), 1);
        QCOMPARE(win->summary()->text(), textOf(489) + " 1");
        ChannelServices::of(w.ctx()).store().setText("151.000", 0, 2, ChannelField::Receive);
        emit w.ctx().dataChanged();
        QCoreApplication::processEvents();
        QCOMPARE(tree->topLevelItemCount(), 0);
        QCOMPARE(win->summary()->text(), textOf(561));
    }

    void refusedFileIsToldAndComparesNothing() {
        Doc a;
        Session w;
        QVERIFY(w.start(a));
        const QString junk = w.s.dir.path() + "/junk.dat";
        QFile f(junk);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a data file");
        f.close();
        w.s.files.openAnswers << junk;
        w.frame->runCommand(cmd::kFileCompare);
        QCOMPARE(w.frame->findChild<CCompareWindow*>(), nullptr);
        QCOMPARE(w.s.messages.asked.size(), size_t(1));
        QVERIFY(w.s.messages.asked.front().text.startsWith(textOf(16)));
        QVERIFY(w.ctx().currentFilePath().endsWith("/current.dat"));
    }

    void activatingARowOpensItsWindow() {
        struct Case {
            const char* name;
            std::function<void(Doc&)> change;
            std::string key;      // of the row activated; "" for the memory row
            int command;          // the window that must be open afterwards (0: the memory map)
            bool enter;           // Enter instead of a double click
            bool setting = false; // a window on the field table: the control takes the focus
        };
        const std::vector<Case> cases{
            {"message", [](Doc& d) { d.set("message.line_1", "HI"); }, "message.line_1",
             cmd::kEmbeddedMessage, false, true},
            {"optional", [](Doc& d) { d.set("optional.off_hook_decode", "on"); },
             "optional.off_hook_decode", cmd::kOptionalFeatures, false, true},
            {"extended", [](Doc& d) { d.set("extended.st_reverse_burst_phase_deg", "-120"); },
             "extended.st_reverse_burst_phase_deg", cmd::kExtendedFunction, true, true},
            {"channel",
             [](Doc& d) { ChannelStore(d.data, text).setText("ABC", 0, 2, ChannelField::Name); },
             "channel.1.3.Name", cmd::kChannelInformation, true},
            {"group", [](Doc& d) { d.flipGroupScan(); }, "group.1.scan_add", cmd::kGroupEdit,
             false},
            {"key",
             [](Doc& d) {
                 KeyAssignment keys(d.data, text);
                 keys.current().setKeyText(1, keys.choices(1).back());
             },
             secondKeyCompareKey(), cmd::kKeyAssignment, true},
            {"memory", [](Doc& d) { d.data.image.setU8(0x7F10, 0x12); }, "", 0, false},
        };
        for (const Case& c : cases) {
            Doc a, b;
            c.change(b);
            Session w;
            QVERIFY2(w.start(a), c.name);
            w.frame->closeAllFunctionWindows();
            CCompareWindow* win = w.compareWith(b);
            QVERIFY2(win, c.name);
            QTreeWidgetItem* row = rowOf(win, c.key);
            QVERIFY2(row, c.name);
            bool mapShown = false;
            if (c.command == 0)
                onDialog<CMemoryMapDlg>([&mapShown](CMemoryMapDlg* dlg) {
                    mapShown = true;
                    dlg->reject();
                });
            QTreeWidget* tree = win->tree();
            tree->setCurrentItem(row);
            if (c.enter) {
                QTest::keyClick(tree, Qt::Key_Return);
            } else {
                // A double click as the window system delivers it: press, release, then
                // the double-click event of the second press.
                const QPoint at = tree->visualItemRect(row).center();
                QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
            }
            QVERIFY2(win->isVisible(), c.name); // Enter does not close the window
            if (c.command == 0) {
                QVERIFY2(mapShown, c.name);
                continue;
            }
            QVERIFY2(w.frame->functionWindow(c.command), c.name);
            if (c.command == cmd::kChannelInformation) {
                CChannelInfoView* grid = CChannelInfoView::openIn(w.ctx());
                QCOMPARE(grid->group(), 0);
                QCOMPARE(grid->channel(), 2);
            }
            // A setting's control has the keyboard, on its tab page.
            if (c.setting) {
                auto* form = qobject_cast<CFormView*>(w.frame->functionWindow(c.command));
                QVERIFY2(form, c.name);
                QWidget* control = form->fieldControl(c.key);
                QVERIFY2(control && control->isVisible(), c.name);
                QCOMPARE(w.frame->focusWidget(), control);
            }
            if (c.command == cmd::kKeyAssignment) {
                auto* keys = qobject_cast<CKeyView*>(w.frame->functionWindow(c.command));
                QCOMPARE(keys->grid()->currentRow(), 1);
            }
        }
    }

    void differentModelsShowTheNoteAndOneBranchPerArea() {
        Doc a(kRowPortable8), b;
        Session w;
        QVERIFY(w.start(a));
        CCompareWindow* win = w.compareWith(b);
        QVERIFY(win);
        QVERIFY(!win->note()->isHidden());
        QVERIFY(win->note()->text().startsWith(textOf(524)));
        // Settings only the other model has came after all others, as a second
        // branch of their area.
        QStringList areas;
        for (int i = 0; i < win->tree()->topLevelItemCount(); ++i)
            areas << win->tree()->topLevelItem(i)->data(0, Qt::UserRole + 1).toString();
        QCOMPARE(QSet<QString>(areas.begin(), areas.end()).size(), areas.size());
        // No row is a memory row, and a row of an area this model has no window
        // for opens nothing.
        int elsewhere = 0;
        FieldContext fc{w.ctx().data(), text};
        for (const Difference& d : win->comparison().differences) {
            QVERIFY(!d.isMemory());
            const FieldArea* area = findFieldArea(d.area);
            if (!area || area->isOffered(fc)) continue;
            ++elsewhere;
            w.frame->closeAllFunctionWindows();
            openDifference(*w.frame, d);
            QCOMPARE(w.frame->functionWindowCount(), 0);
        }
        QVERIFY(elsewhere > 0);
    }

    void compareWithRadioLeavesTheDocumentAsItWas() {
        const IdentityBytes identity = identityOf("M1400", 0x04);
        const sim::Memory memory = radioMemory(identity, 0x05);
        sim::SimConfig config;
        config.identity = identity;
        LinkBench bench(config, memory);
        QVERIFY(bench.started());
        // The document: the radio's memory from a file, then one edit.
        RadioData radioData;
        std::copy(memory.begin(), memory.end(), radioData.image.bytes().begin());
        const QString path = bench.program.dir.path() + "/radio.dat";
        QCOMPARE(writeDataFile(path.toStdString(), radioData.image).result, kFileOk);
        QVERIFY(bench.frame().fileCommands().openPath(path));
        FieldContext fc{bench.ctx().data(), text};
        QVERIFY(assignField(*findField(fc, "message.line_1"), fc, "EDIT").ok);
        bench.ctx().recordEdit("Line 1");
        const std::vector<uint8_t> before(bench.image().bytes().begin(),
                                          bench.image().bytes().end());
        const std::string undoLabel = bench.ctx().history().undoLabel();

        // A read that is cancelled shows nothing.
        onDialog<CTransferDlg>([](CTransferDlg* dlg) { dlg->reject(); });
        bench.frame().runCommand(cmd::kCompareWithRadio);
        QCOMPARE(bench.frame().findChild<CCompareWindow*>(), nullptr);
        QVERIFY(bench.image().isModified());

        onDialog<CTransferDlg>(
            [](CTransferDlg* dlg) { QTest::mouseClick(dlg->startButton(), Qt::LeftButton); });
        bench.frame().runCommand(cmd::kCompareWithRadio);

        QVERIFY(std::equal(before.begin(), before.end(), bench.image().bytes().begin()));
        QVERIFY(bench.image().isModified());
        QCOMPARE(bench.ctx().currentFilePath(), path);
        QCOMPARE(bench.ctx().history().undoLabel(), undoLabel);
        QVERIFY(bench.frame().windowTitle().endsWith(" *"));
        CCompareWindow* win = bench.frame().findChild<CCompareWindow*>();
        QVERIFY(win);
        QCOMPARE(win->tree()->headerItem()->text(2), textOf(488));
        QVERIFY(rowOf(win, "message.line_1"));
        QCOMPARE(rowOf(win, "message.line_1")->text(1), QString("EDIT"));
        QVERIFY(!bench.radio->inProgramMode());
    }

    // The picture of the documentation, in the program's own texts.
    void screenshotOfTheWindow() {
        if (qEnvironmentVariableIsEmpty("VRL_SCREENSHOT_DIR")) QSKIP("VRL_SCREENSHOT_DIR not set");
        Doc a, b;
        b.set("message.line_1", "HELLO");
        b.flipGroupScan();
        ChannelStore(b.data, text).setText("151.000", 0, 2, ChannelField::Receive);
        b.data.image.setU8(0x7F10, 0x12);
        Session w;
        QVERIFY(w.start(a));
        QCOMPARE(w.ctx().lang().loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"),
                 LanguageLoadStatus::Ok);
        CCompareWindow* win = w.compareWith(b);
        QVERIFY(win);
        win->resize(720, 360);
        win->tree()->setCurrentItem(rowOf(win, "message.line_1"));
        screenshot(win, "compare-window");
    }
};

QTEST_MAIN(CompareWindowTest)
#include "compare_window_test.moc"
