// The radio history in the desktop program: a write and a read against the
// simulated radio are recorded with its serial number, the read names the last
// write on the status bar, and the Radio History window lists, opens and exports.
#include "link_test_support.h"

#include "app/commands.h"
#include "file/data_file.h"
#include "history/history_window.h"
#include "link/transfer_dlg.h"
#include "platform/data_folder.h"
#include "platform/history_store.h"

#include <QMainWindow>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTreeWidget>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {

const IdentityBytes kRow0 = identityOf("M1400", 0x04);

void pressStart() {
    onDialog<CTransferDlg>([](CTransferDlg* dlg) { QTest::mouseClick(dlg->startButton(), Qt::LeftButton); });
}

} // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { dropPendingDialogs(); }

    void transfersAreRecordedAndTheWindowRestoresThem() {
        QTemporaryDir dir;
        platform::setHistoryLocation(dir.filePath("h.sqlite"));
        sim::SimConfig config;
        config.identity = kRow0;
        config.info = sim::infoBlockWithSerial("SN0099");
        LinkBench bench(config, radioMemory(kRow0, 0x05));
        QVERIFY(bench.started());
        bench.image().setU8(0x62 * 256 + 3, 0x5C);
        bench.image().takeSnapshot();
        const std::vector<uint8_t> written(bench.image().bytes().begin(), bench.image().bytes().end());
        pressStart();
        bench.frame().runCommand(cmd::kWriteToRadio);
        bench.image().setU8(0x62 * 256 + 3, 0x00);
        bench.image().takeSnapshot();
        pressStart();
        bench.frame().runCommand(cmd::kReadFromRadio);

        std::string error;
        history::HistoryStore* store = platform::programHistory(error);
        QVERIFY2(store, error.c_str());
        const auto events = store->list({"SN0099", "", ""}, error);
        QVERIFY(events && events->size() == 2);
        QCOMPARE((*events)[0].operation, std::string("read"));
        QCOMPARE((*events)[1].operation, std::string("write"));
        QCOMPARE(store->event((*events)[1].id, error)->image, written);
        auto* frame = qobject_cast<QMainWindow*>(&bench.frame());
        QVERIFY(frame->statusBar()->currentMessage().contains("SN0099"));

        auto* window = new CHistoryWindow(bench.frame(), &bench.frame());
        QCOMPARE(window->radios()->topLevelItemCount(), 1);
        QCOMPARE(window->radios()->topLevelItem(0)->text(0), QString("SN0099"));
        QCOMPARE(window->events()->topLevelItemCount(), 2);
        window->events()->setCurrentItem(window->events()->topLevelItem(1)); // the write
        QVERIFY(window->openButton()->isEnabled());
        window->show();
        screenshot(window, "radio-history");
        const QString exported = dir.filePath("out.dat");
        QVERIFY(window->exportSelected(exported));
        QVERIFY(window->openSelected());
        QVERIFY(std::equal(written.begin(), written.end(), bench.image().bytes().begin()));
        QVERIFY(bench.ctx().isUntitled());
        QVERIFY(window->compareSelected());
        window->close();
        CDataImage fromFile;
        QCOMPARE(readDataFile(exported.toStdString(), fromFile).result, kFileOk);
        QVERIFY(std::equal(written.begin(), written.end(), fromFile.bytes().begin()));
        platform::closeProgramHistory();
    }
};

QTEST_MAIN(HistoryWindowTest)
#include "history_window_test.moc"
