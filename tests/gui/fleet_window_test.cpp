// Program > Fleet Programming: the units table checked cell by cell, and a run on
// two simulated radios, each getting its own unit.
#include "channels/channel_store.h"
#include "fleet/fleet_window.h"
#include "link/clock.h"
#include "link/link_service.h"
#include "model/new_data.h"
#include "sim/sim_transport.h"
#include "widgets_test_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

class FleetWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void checksCellsAndProgramsEachRadio();
};

void FleetWindowTest::checksCellsAndProgramsEachRadio() {
    Fixture fx;
    QCOMPARE(fx.lang.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"), LanguageLoadStatus::Ok);
    QCOMPARE(fx.lang.loadSupplementFile(VRL_SOURCE_DIR "/data/vrl73m-extra.lng"), LanguageLoadStatus::Ok);
    newDataFor(fx.data, models::identityFor(4, 0, OptionBoard::None));
    fx.data.model.refresh();
    ChannelStore(fx.data, nullptr).setText("155.00000", 0, 0, ChannelField::Receive);
    QTemporaryDir dir;
    LinkService::Options opts;
    opts.settingsFile = dir.filePath("settings.ini");
    opts.systemDevices = QStringList{"/dev/ttyFLEET1", "/dev/ttyFLEET2"};
    new LinkService(*fx.ctx, opts); // a child of the context

    // The radios: serials SA and SB, each with the template's model.
    std::map<std::string, std::unique_ptr<sim::RadioSimulator>> radios;
    for (auto [device, serial] : {std::pair{"/dev/ttyFLEET1", "SB"}, std::pair{"/dev/ttyFLEET2", "SA"}}) {
        sim::SimConfig config;
        config.identity = fx.data.image.identity().bytes;
        config.info = sim::infoBlockWithSerial(serial);
        sim::Memory memory{};
        memory.fill(0xFF);
        radios[device] = std::make_unique<sim::RadioSimulator>(config, memory);
    }
    auto* win = new CFleetWindow(*fx.ctx, nullptr, [&radios](const std::string& port) {
        return std::make_unique<sim::SimTransport>(*radios.at(port), SystemClock::instance(), port);
    });
    QVERIFY(win->loadUnitsText("Unit,Serial,channel.1.1.IdCode,message.line_1\nCar A,SA,12,ALPHA\nCar B,SB,202,BRAVO\n"));
    QTableWidget* units = win->unitsTable();
    QVERIFY(!units->item(0, 2)->toolTip().isEmpty()); // an ID code needs three digits
    QVERIFY(units->item(1, 2)->toolTip().isEmpty());
    QVERIFY(!win->start());                           // refused while a cell is refused
    units->item(0, 2)->setText("101");                // checked as it changes
    QVERIFY(units->item(0, 2)->toolTip().isEmpty());
    QVERIFY(!win->start()); // no port checked
    int listed = 0;
    for (int i = 0; i < win->portList()->count(); ++i) {
        QListWidgetItem* item = win->portList()->item(i);
        if (!radios.count(item->data(Qt::UserRole).toString().toStdString())) continue;
        item->setCheckState(Qt::Checked);
        ++listed;
    }
    QCOMPARE(listed, 2);

    QSignalSpy finished(win, &CFleetWindow::runFinished);
    QVERIFY(win->start());
    QVERIFY(!win->startButton()->isEnabled());
    QVERIFY(finished.wait(60000));
    QCOMPARE(win->resultsTable()->rowCount(), 2);
    for (int r = 0; r < 2; ++r) QCOMPARE(win->resultsTable()->item(r, 3)->text(), QString("programmed"));

    const fleet::Plan plan = fleet::makePlan(fx.data.image, [] {
        std::string e;
        return *fleet::readUnitsCsv("Unit,Serial,channel.1.1.IdCode,message.line_1\nCar A,SA,101,ALPHA\nCar B,SB,202,BRAVO\n", e);
    }(), nullptr);
    QVERIFY(plan.ok());
    const auto same = [](const sim::Memory& m, const std::vector<uint8_t>& image) {
        return std::equal(m.begin(), m.end(), image.begin());
    };
    QVERIFY(same(radios["/dev/ttyFLEET2"]->memory(), plan.units[0].image));
    QVERIFY(same(radios["/dev/ttyFLEET1"]->memory(), plan.units[1].image));
    QVERIFY(win->reportText().find(",SA,") != std::string::npos);
    win->resize(900, 620);
    screenshot(win, "fleet-programming");
    delete win;
}

QTEST_MAIN(FleetWindowTest)
#include "fleet_window_test.moc"
