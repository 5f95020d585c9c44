// The stored forms of the remembered values, the command-line switches, the title and
// the function-window list per model.
#include "app/commands.h"
#include "app/function_list.h"
#include "app/settings_values.h"
#include "model/new_data.h"

#include <QtTest>

#include <set>

using namespace vrl;
using namespace vrl::gui;

namespace {

ModelIdentity identityOf(int row, int band, OptionBoard board = OptionBoard::None) {
    return models::identityFor(row, band, board);
}

std::vector<int> commandsOf(int row, int band = 0, OptionBoard board = OptionBoard::None) {
    RadioData data;
    newDataFor(data, identityOf(row, band, board));
    data.image.setU8(0x00AD, optionByteFor(board)); // keep the board as chosen
    data.model.refresh();
    std::vector<int> out;
    for (const FunctionEntry& e : functionWindowList(data.model)) out.push_back(e.command);
    return out;
}

bool contains(const std::vector<int>& v, int c) { return std::find(v.begin(), v.end(), c) != v.end(); }

} // namespace

class SettingsValuesTest : public QObject {
    Q_OBJECT
  private slots:
    void lastModelParsesEightHexBytesAndDropsTheOptionBoard() {
        auto id = parseLastModel("4D:31:34:30:30:04:DF:F1");
        QVERIFY(id.has_value());
        QCOMPARE(id->bytes[0], uint8_t('M'));
        QCOMPARE(id->bytes[5], uint8_t(0x04));
        QCOMPARE(id->bytes[6], uint8_t(0xFF)); // 0xDF | 0xA0: no trunking board remembered
        QCOMPARE(id->bytes[7], uint8_t(0xF1));
    }
    void lastModelRefusesMalformedValues_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("seven numbers") << "4D:31:34:30:30:04:FF";
        QTest::newRow("nine numbers") << "4D:31:34:30:30:04:FF:F1:00";
        QTest::newRow("three digits") << "4D:31:34:30:300:04:FF:F1";
        QTest::newRow("not hex") << "4D:31:34:30:30:0G:FF:F1";
        QTest::newRow("empty field") << "4D::34:30:30:04:FF:F1";
        QTest::newRow("empty") << "";
    }
    void lastModelRefusesMalformedValues() {
        QFETCH(QString, text);
        QVERIFY(!parseLastModel(text.toStdString()).has_value());
    }
    void lastModelRoundTrips() {
        const ModelIdentity id = identityOf(37, 0);
        auto back = parseLastModel(formatLastModel(id));
        QVERIFY(back.has_value());
        QCOMPARE(back->bytes, id.bytes);
        QCOMPARE(QString::fromStdString(formatLastModel(id)), QStringLiteral("50:34:37:30:30:1B:FF:FF"));
    }
    void comPortOutsideOneToTwentyIsOne() {
        QCOMPARE(comPortFromSetting(std::nullopt), 1);
        QCOMPARE(comPortFromSetting(0), 1);
        QCOMPARE(comPortFromSetting(21), 1);
        QCOMPARE(comPortFromSetting(-3), 1);
        QCOMPARE(comPortFromSetting(20), 20);
        QCOMPARE(comPortFromSetting(7), 7);
    }
    void windowPlacementNeedsTenIntegers() {
        auto p = parseWindowPlacement("2:2:-1:-1:-8:-8:10:20:810:620");
        QVERIFY(p.has_value());
        QCOMPARE(p->left, 10);
        QCOMPARE(p->width(), 800);
        QCOMPARE(p->height(), 600);
        QCOMPARE(QString::fromStdString(formatWindowPlacement(*p)), QStringLiteral("2:2:-1:-1:-8:-8:10:20:810:620"));
        QVERIFY(!parseWindowPlacement("2:2:-1:-1:-8:-8:10:20:810").has_value());
        QVERIFY(!parseWindowPlacement("2:2:-1:-1:-8:-8:10:20:810:x").has_value());
    }
    void minimizedWindowOpensMaximizedOnlyWhenRestoredMaximized() {
        WindowPlacement p{2, 2, -1, -1, -1, -1, 10, 10, 600, 400};
        QVERIFY(startShowFor(p) == StartShow::Maximized);
        p.flags = 0;
        QVERIFY(startShowFor(p) == StartShow::Normal);
        p.showState = 3;
        QVERIFY(startShowFor(p) == StartShow::Maximized);
    }
    void regressionEmptyRectangleDoesNotOpenAnInvisibleWindow() {
        WindowPlacement p{0, 1, -1, -1, -1, -1, 100, 100, 100, 50};
        QVERIFY(startShowFor(p) == StartShow::Maximized);
    }
    void switchesAreWholeArgumentsInAnyCase_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("step");
        QTest::addColumn<bool>("scr");
        QTest::newRow("none") << QStringList{} << false << false;
        QTest::newRow("upper") << QStringList{"/STEP", "/SCR"} << true << true;
        QTest::newRow("lower") << QStringList{"/step", "/scr"} << true << true;
        QTest::newRow("long") << QStringList{"--Step", "--SCR"} << true << true;
        QTest::newRow("regression path is no switch") << QStringList{"/scratch/x.dat", "/steps.dat"} << false << false;
        QTest::newRow("file names ignored") << QStringList{"a.dat", "/scr"} << false << true;
    }
    void switchesAreWholeArgumentsInAnyCase() {
        QFETCH(QStringList, args);
        QFETCH(bool, step);
        QFETCH(bool, scr);
        std::vector<std::string> v;
        for (const QString& a : args) v.push_back(a.toStdString());
        const StartOptions o = parseSwitches(v);
        QCOMPARE(o.fineStep, step);
        QCOMPARE(o.scrOffered, scr);
    }
    void lastFilePathKeepsTheFolderWithItsSeparator() {
        QCOMPARE(QString::fromStdString(folderWithSeparator("/home/u/radios/a.dat")), QStringLiteral("/home/u/radios/"));
        QCOMPARE(QString::fromStdString(folderWithSeparator("C:\\data\\a.dat")), QStringLiteral("C:\\data\\"));
        QCOMPARE(QString::fromStdString(folderWithSeparator("a.dat")), QString());
    }
    void dataFolderFallsBackToTheProgramFolderAndItsDataFolder() {
        auto dirs = [](std::set<std::string> existing) {
            return [existing](const std::string& p) { return existing.count(p) > 0; };
        };
        QCOMPARE(QString::fromStdString(dataFolder("/r/", "/opt/v", dirs({"/r/"}))), QStringLiteral("/r/"));
        QCOMPARE(QString::fromStdString(dataFolder("/gone/", "/opt/v", dirs({}))), QStringLiteral("/opt/v/"));
        QCOMPARE(QString::fromStdString(dataFolder("", "/opt/v", dirs({"/opt/v/DATA"}))), QStringLiteral("/opt/v/DATA/"));
    }
    // A fresh user's Save As started in build/gui: a folder that is no place for data
    // (read-only, a build tree) gives way to the user's own folder.
    void regressionDataFolderOfAFreshUserIsTheirOwn() {
        auto dirs = [](std::set<std::string> existing) {
            return [existing](const std::string& p) { return existing.count(p) > 0; };
        };
        const auto usable = dirs({"/opt/v/DATA/", "/home/u/radios/"});
        const char* docs = "/home/u/Documents/VRL-73M";
        const std::pair<const char*, const char*> cases[] = {
            {"", "/home/u/Documents/VRL-73M/"},     // the program folder refuses
            {"/home/u/radios/", "/home/u/radios/"}, // the remembered folder stays
            {"/gone/", "/home/u/Documents/VRL-73M/"},
        };
        for (const auto& [last, expected] : cases)
            QCOMPARE(QString::fromStdString(dataFolder(last, "/work/build/gui",
                                                       dirs({"/home/u/radios/"}), docs, usable)),
                     QString::fromLatin1(expected));
        // A writable DATA folder beside the program is still used.
        QCOMPARE(
            QString::fromStdString(dataFolder("", "/opt/v", dirs({"/opt/v/DATA"}), docs, usable)),
            QStringLiteral("/opt/v/DATA/"));
    }
    void titleOfRowZeroWithBandCodeFive() {
        const std::string t = buildTitle("RM-140A[8CH]:K", "VHF", "136-162MHz", "File", "my.dat");
        QCOMPARE(QString::fromStdString(t), QStringLiteral("VRL-73M  [ RM-140A[8CH] : K VHF : 136-162MHz ] [ File : my.dat]"));
    }
};

class FunctionListTest : public QObject {
    Q_OBJECT
  private slots:
    void eightChannelModelsHaveNoScanWindow() {
        QVERIFY(!contains(commandsOf(0), cmd::kScan));
        QVERIFY(contains(commandsOf(4), cmd::kScan)); // 128 channels
        QVERIFY(contains(commandsOf(25), cmd::kScan)); // 32 channels
    }
    void trunkingWindowOnlyWithTheTrunkingBoard() {
        QVERIFY(!contains(commandsOf(0), cmd::kTrunking));
        QVERIFY(contains(commandsOf(0, 0, OptionBoard::Trunking), cmd::kTrunking));
    }
    void emergencyForMobilesOutsideMarketK() {
        QVERIFY(!contains(commandsOf(0), cmd::kEmergency));  // RM-140A K
        QVERIFY(contains(commandsOf(3), cmd::kEmergency));   // RM-150A M
        QVERIFY(!contains(commandsOf(16), cmd::kEmergency)); // portable
    }
    void operatorToneForWideModelsOfMarketK() {
        QVERIFY(contains(commandsOf(4), cmd::kOperatorSelTone));
        QVERIFY(!contains(commandsOf(0), cmd::kOperatorSelTone));
        QVERIFY(!contains(commandsOf(5), cmd::kOperatorSelTone));
    }
    void extendedFunctionForClassOneAndTwoRows() {
        for (int row : {5, 13, 20, 31, 16, 27}) QVERIFY(contains(commandsOf(row), cmd::kExtendedFunction));
        QVERIFY(!contains(commandsOf(0), cmd::kExtendedFunction));
    }
    void separatorsFollowTheFixedLayout() {
        // Row 3 (mobile, market M, 8 channels): emergency with its separator.
        const std::vector<int> expected{cmd::kChannelInformation, 0, cmd::kOptionalFeatures, cmd::kKeyAssignment, 0,
                                        cmd::kDtmf, cmd::kTwoTone, 0, cmd::kEmergency, 0,
                                        cmd::kTestFrequency, cmd::kEmbeddedMessage};
        QCOMPARE(commandsOf(3), expected);
    }
};

int main(int argc, char** argv) {
    int status = 0;
    {
        SettingsValuesTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        FunctionListTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "app_settings_test.moc"
