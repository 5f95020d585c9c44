// Fleet programming: the channel keys of `set`, the units plan, SHA-256, and a run
// of several simulated radios on their own threads.
#include "channels/channel_store.h"
#include "features/field_table.h"
#include "fleet/fleet_run.h"
#include "link/clock.h"
#include "model/new_data.h"
#include "sim/sim_transport.h"
#include "util/sha256.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string_view>

using namespace vrl;

namespace {


// A 128-channel radio with two channels in group 1.
struct Template {
    Template() {
        newDataFor(data, models::identityFor(4, 0, OptionBoard::None));
        data.model.refresh();
        ChannelStore store(data, nullptr);
        store.setText("155.00000", 0, 0, ChannelField::Receive);
        store.setText("156.00000", 0, 1, ChannelField::Receive);
    }
    std::string channelText(ChannelField f, int g, int c) {
        return ChannelStore(data, nullptr).getText(f, g, c).value_or("?");
    }
    RadioData data;
};

TEST(ChannelKeys, AssignLikeTheChannelCsv) {
    const struct {
        const char* key;
        const char* value;
        bool found, ok;
        const char* c1IdCode; // channel 1.1's ID code afterwards, "" when unchanged
        const char* c2IdCode;
    } cases[] = {
        {"channel.1.1.IdCode", "123", true, true, "123", ""},
        {"channel.1.1.idcode", "4567", true, true, "4567", ""},
        {"channels.IdCode", "321", true, true, "321", "321"},
        {"channel.1.1.IdCode", "12", true, false, "", ""},   // fewer than three digits
        {"channel.1.1.IdCode", "12A", true, false, "", ""},  // not digits
        {"channel.1.9.IdCode", "123", true, false, "", ""},  // no such channel
        {"channel.0.1.IdCode", "123", false, false, "", ""},
        {"channel.1.1.Group", "2", false, false, "", ""},
        {"channel.1.IdCode", "123", false, false, "", ""},
        {"channels.Nope", "1", false, false, "", ""},
    };
    for (const auto& c : cases) {
        Template t;
        const std::string before1 = t.channelText(ChannelField::IdCode, 0, 0);
        const std::string before2 = t.channelText(ChannelField::IdCode, 0, 1);
        FieldContext ctx{t.data, nullptr};
        const auto field = findField(ctx, c.key);
        ASSERT_EQ(field.has_value(), c.found) << c.key;
        if (!field) continue;
        const FieldAssignResult r = assignField(*field, ctx, c.value);
        EXPECT_EQ(r.ok, c.ok) << c.key << "=" << c.value << ": " << r.error;
        if (!r.ok) {
            EXPECT_FALSE(r.error.empty());
        }
        EXPECT_EQ(t.channelText(ChannelField::IdCode, 0, 0), *c.c1IdCode ? c.c1IdCode : before1) << c.key;
        EXPECT_EQ(t.channelText(ChannelField::IdCode, 0, 1), *c.c2IdCode ? c.c2IdCode : before2) << c.key;
    }
}

fleet::UnitsTable tableOf(std::string_view csv) {
    std::string error;
    auto table = fleet::readUnitsCsv(csv, error);
    EXPECT_TRUE(table) << error;
    return table ? *table : fleet::UnitsTable{};
}

TEST(FleetPlan, RefusesBadTablesWithRowAndColumn) {
    const struct {
        const char* csv;
        int row, column; // of the first refusal
    } cases[] = {
        {"Name,channel.1.1.IdCode\nA,123\n", -1, -1},          // no Unit column
        {"Unit,no.such_key\nA,1\n", -1, 1},                    // unknown key
        {"Unit,Unit\nA,B\n", -1, 1},                           // named twice
        {"Unit\n", -1, -1},                                    // no units
        {"Unit,channel.1.1.IdCode\nA,123\nB,12\n", 1, 1},      // value refused
        {"Unit,Serial\nA,S1\nB,S1\n", 1, 1},                   // serial twice
        {"Unit,Serial\nA,S1\n,S2\n", 1, 0},                    // no name
        {"Unit,channel.1.1.IdCode\nA,123,9\n", 0, -1},         // field count
    };
    for (const auto& c : cases) {
        Template t;
        const fleet::UnitsTable table = tableOf(c.csv);
        const fleet::Plan plan = fleet::makePlan(t.data.image, table, nullptr);
        ASSERT_FALSE(plan.ok()) << c.csv;
        EXPECT_TRUE(plan.units.empty());
        EXPECT_EQ(plan.errors.front().row, c.row) << c.csv;
        EXPECT_EQ(plan.errors.front().column, c.column) << c.csv;
    }
}

TEST(FleetPlan, EachUnitIsTheTemplatePlusItsRow) {
    Template t;
    const fleet::Plan plan =
        fleet::makePlan(t.data.image, tableOf("Unit,Serial,channel.1.2.IdCode,message.line_1\n"
                                              "Car 1,S1,111,HELLO\nCar 2,S2,,\n"),
                        nullptr);
    ASSERT_TRUE(plan.ok()) << plan.errors.front().text;
    ASSERT_EQ(plan.units.size(), 2u);
    EXPECT_TRUE(plan.bySerial);
    EXPECT_EQ(plan.units[0].assignments.size(), 2u);
    // Car 2's empty cells keep the template.
    EXPECT_TRUE(std::equal(plan.units[1].image.begin(), plan.units[1].image.end(), t.data.image.bytes().begin()));
    RadioData unit;
    std::copy(plan.units[0].image.begin(), plan.units[0].image.end(), unit.image.bytes().begin());
    EXPECT_EQ(ChannelStore(unit, nullptr).getText(ChannelField::IdCode, 0, 1), "111");
    size_t differing = 0;
    for (size_t i = 0; i < plan.units[0].image.size(); ++i) differing += plan.units[0].image[i] != t.data.image.bytes()[i];
    EXPECT_GT(differing, 0u);
    EXPECT_LT(differing, 40u); // the ID code and the message line, nothing else
}

// Radios on their own threads, each an in-process simulated radio.
struct Fleet {
    struct Radio {
        std::unique_ptr<sim::RadioSimulator> sim;
    };
    void add(const std::string& port, const std::string& serial, const ModelIdentity& id) {
        RadioData data;
        newDataFor(data, id);
        sim::SimConfig config;
        config.identity = id.bytes;
        config.info = sim::infoBlockWithSerial(serial);
        sim::Memory memory{};
        std::copy(data.image.bytes().begin(), data.image.bytes().begin() + static_cast<long>(memory.size()),
                  memory.begin());
        radios[port].sim = std::make_unique<sim::RadioSimulator>(config, memory);
        ports.push_back(port);
    }
    std::vector<fleet::UnitResult> run(const fleet::Plan& plan, fleet::FleetBook& book,
                                       std::function<bool()> stop = nullptr) {
        fleet::Options options;
        options.retries = 0;
        return fleet::runFleet(
            plan, ports,
            [this](const std::string& port) {
                return std::make_unique<sim::SimTransport>(*radios.at(port).sim, SystemClock::instance(), port);
            },
            options, stop, nullptr, book);
    }
    std::map<std::string, Radio> radios;
    std::vector<std::string> ports;
};

TEST(FleetRun, EachRadioGetsItsOwnUnitAndAnotherModelIsRefused) {
    Template t;
    const fleet::Plan plan = fleet::makePlan(
        t.data.image,
        tableOf("Unit,Serial,channel.1.1.IdCode\nCar 1,SN1,101\nCar 2,SN2,102\nCar 3,SN3,103\nCar 9,SN9,109\n"),
        nullptr);
    ASSERT_TRUE(plan.ok());
    Fleet f;
    const ModelIdentity same = models::identityFor(4, 0, OptionBoard::None);
    f.add("p1", "SN1", same);
    f.add("p2", "SN3", same);
    f.add("p3", "SN2", same);
    f.add("p4", "SN7", same);                                        // not in the file
    f.add("p5", "SN9", models::identityFor(0, 0, OptionBoard::None)); // another model
    fleet::FleetBook book(plan);
    const std::vector<fleet::UnitResult> report = f.run(plan, book);

    std::map<std::string, const fleet::UnitResult*> byPort;
    for (const auto& r : report) if (!r.port.empty()) byPort[r.port] = &r;
    const struct { const char* port; fleet::Outcome outcome; const char* unit; size_t planned; } expect[] = {
        {"p1", fleet::Outcome::Programmed, "Car 1", 0},
        {"p2", fleet::Outcome::Programmed, "Car 3", 2},
        {"p3", fleet::Outcome::Programmed, "Car 2", 1},
        {"p4", fleet::Outcome::Failed, "", 0},
        {"p5", fleet::Outcome::Failed, "", 0},
    };
    for (const auto& e : expect) {
        ASSERT_TRUE(byPort.count(e.port)) << e.port;
        const fleet::UnitResult& r = *byPort[e.port];
        EXPECT_EQ(r.outcome, e.outcome) << e.port << ": " << r.message;
        EXPECT_EQ(r.unit, e.unit) << e.port;
        EXPECT_FALSE(r.serial.empty());
        const sim::RadioSimulator& radio = *f.radios[e.port].sim;
        if (e.outcome == fleet::Outcome::Programmed) {
            const auto& image = plan.units[e.planned].image;
            EXPECT_TRUE(std::equal(radio.memory().begin(), radio.memory().end(), image.begin())) << e.port;
            EXPECT_EQ(r.imageSha256, sha256Hex(r.image));
        } else {
            EXPECT_FALSE(radio.memoryWritten()) << e.port;
        }
    }
    EXPECT_NE(byPort["p4"]->message.find("no unit for serial SN7"), std::string::npos);
    EXPECT_NE(byPort["p5"]->message.find("nothing written"), std::string::npos);
    // Car 9's radio was of another model: listed as not programmed.
    EXPECT_EQ(report.back().outcome, fleet::Outcome::NotProgrammed);
    EXPECT_EQ(report.back().unit, "Car 9");
    EXPECT_EQ(fleet::exitStatusOf(report), 3);
    EXPECT_NE(fleet::reportCsv(report).find("SN3"), std::string::npos);
}

TEST(FleetRun, StopWhileWritingLeavesTheRadioIncompleteAndOutOfProgrammingMode) {
    Template t;
    const fleet::Plan plan = fleet::makePlan(t.data.image, tableOf("Unit\nCar 1\n"), nullptr);
    ASSERT_TRUE(plan.ok());
    Fleet f;
    f.add("p1", "SN1", models::identityFor(4, 0, OptionBoard::None));
    const sim::RadioSimulator& radio = *f.radios["p1"].sim;
    fleet::FleetBook book(plan);
    const auto report = f.run(plan, book, [&radio] { return radio.blocksWritten() >= 5; });
    ASSERT_EQ(report.size(), 2u);
    EXPECT_EQ(report[0].outcome, fleet::Outcome::Incomplete) << report[0].message;
    EXPECT_EQ(report[1].outcome, fleet::Outcome::NotProgrammed); // free again for another radio
    EXPECT_FALSE(radio.inProgramMode());
    EXPECT_EQ(fleet::exitStatusOf(report), 3);
}

} // namespace
