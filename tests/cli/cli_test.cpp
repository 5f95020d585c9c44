#include "model/model_table.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace vrl;
namespace fs = std::filesystem;

namespace {
struct CliRun {
    int status;
    std::string out;
};

// Runs the tool; `out` holds its standard output, and its error output too when
// `withErrors` is set.
CliRun cli(const std::string& args, bool withErrors = false) {
    const std::string command =
        std::string(VRL_CLI_PATH) + " " + args + (withErrors ? " 2>&1" : " 2>/dev/null");
    CliRun run{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, n);
    int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

nlohmann::json json(const CliRun& run) { return nlohmann::json::parse(run.out); }

fs::path tempDir() {
    fs::path dir = fs::temp_directory_path() / ("vrl-cli-" + std::to_string(getpid()));
    fs::create_directories(dir);
    return dir;
}
} // namespace

TEST(Cli, ModelsJsonListsAllRows) {
    CliRun run = cli("models --json");
    ASSERT_EQ(run.status, 0);
    auto rows = json(run);
    ASSERT_EQ(rows.size(), 38u);
    EXPECT_EQ(rows[14]["label"], "RM-450A[128CH]:C");
    EXPECT_EQ(rows[14]["code"], "M4500");
    EXPECT_EQ(rows[14]["market"], 3);
    EXPECT_EQ(rows[14]["capacity"], 128);
    EXPECT_EQ(rows[14]["bands"][2]["text"], "350-390MHz");
    EXPECT_EQ(rows[14]["bands"][2]["code"], 11);
    EXPECT_EQ(rows[27]["class"], 1);
}

TEST(Cli, IdentifyNamesEveryRowAndBand) {
    for (int row = 0; row < kModelRowCount; ++row) {
        const ModelRow& r = modelTable()[row];
        for (int pos = 0; pos < r.bandCount; ++pos) {
            ModelIdentity id = models::identityFor(row, pos, OptionBoard::Trunking);
            CliRun run = cli("identify " + id.hex() + " --json");
            ASSERT_EQ(run.status, 0) << r.label;
            auto j = json(run);
            EXPECT_EQ(j["row"], row);
            EXPECT_EQ(j["label"], std::string(r.label));
            EXPECT_EQ(j["band"], std::string(r.band(pos)));
            EXPECT_EQ(j["band_position"], pos);
            EXPECT_EQ(j["option_board"], "trunking");
            EXPECT_EQ(j["mobile"], r.family() == 'M');
        }
    }
}

TEST(Cli, IdentifyRefusesUnknownAndRejectsMalformed) {
    CliRun unknown = cli("identify 4D3939393904FFF1 --json"); // M9999
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(json(unknown)["row"].is_null());
    EXPECT_EQ(cli("identify 4D3134303006FFF1").status, 2); // UHF band on a VHF row
    EXPECT_EQ(cli("identify 4D31343030").status, 1);
    EXPECT_EQ(cli("identify ZZ3134303004FFF1").status, 1);
    EXPECT_EQ(cli("identify --bogus").status, 1);
    EXPECT_EQ(cli("identify --help").status, 0);
}

TEST(Cli, NewThenInfoRoundTripsEveryRow) {
    const fs::path dir = tempDir();
    for (int row = 0; row < kModelRowCount; ++row) {
        const ModelRow& r = modelTable()[row];
        const std::string file = (dir / ("row" + std::to_string(row) + ".dat")).string();
        const int band = r.bandCount - 1;
        ASSERT_EQ(cli("new --row " + std::to_string(row) + " --band " + std::to_string(band) +
                      " --option scr -o " + file)
                      .status,
                  0);
        CliRun info = cli("info " + file + " --json");
        ASSERT_EQ(info.status, 0);
        auto j = json(info);
        EXPECT_EQ(j["row"], row);
        EXPECT_EQ(j["band"], std::string(r.band(band)));
        EXPECT_EQ(j["version"], "V0422");
        EXPECT_EQ(j["channels_in_use"], 0);
        EXPECT_EQ(j["directory"][0], 0xFFFF);
        EXPECT_EQ(j["identity"].get<std::string>().substr(12, 2),
                  models::capacityOfRow(row) == 32 ? "7B" : "7F");
    }
    fs::remove_all(dir);
}

TEST(Cli, NewRefusesTrunkingOnEuropeanMarketsAndBadBands) {
    const std::string out = (tempDir() / "x.dat").string();
    EXPECT_EQ(cli("new --row 1 --option trunking -o " + out).status, 2);  // RM-140A:E
    EXPECT_EQ(cli("new --row 18 --option trunking -o " + out).status, 2); // (N)E,(N)T
    EXPECT_EQ(cli("new --row 0 --band 2 -o " + out).status, 2);
    EXPECT_EQ(cli("new --row 38 -o " + out).status, 1);
    EXPECT_EQ(cli("new --row 0 --option maybe -o " + out).status, 1);
    EXPECT_EQ(cli("new --row 0 --option trunking -o " + out).status, 0);
    EXPECT_EQ(cli("info " + out + " --json").status, 0);
}

TEST(Cli, InfoRefusesNonDataFilesAndDumpShowsOffsets) {
    const fs::path dir = tempDir();
    const std::string junk = (dir / "junk.dat").string();
    FILE* f = fopen(junk.c_str(), "wb");
    fputs("not a data file", f);
    fclose(f);
    EXPECT_EQ(cli("info " + junk).status, 2);
    EXPECT_EQ(cli("info " + (dir / "missing.dat").string()).status, 2);

    const std::string file = (dir / "d.dat").string();
    ASSERT_EQ(cli("new --row 0 -o " + file).status, 0);
    CliRun dump = cli("dump " + file + " --from 0xB0 --length 32");
    ASSERT_EQ(dump.status, 0);
    EXPECT_EQ(dump.out.substr(0, 5), "00B0 ");
    EXPECT_NE(dump.out.find("00C0 "), std::string::npos);
    EXPECT_NE(dump.out.find(" 56 30 34 32 32"), std::string::npos); // "V0422" at 0xBB
    EXPECT_EQ(cli("dump " + file + " --from 0x9000").status, 1);
}

TEST(Cli, SettingsKeysDocumentIsInStepWithTheTables) {
    CliRun run = cli("settings --keys-doc");
    ASSERT_EQ(run.status, 0);
    std::ifstream in(std::string(VRL_SOURCE_DIR) + "/docs/settings-keys.md", std::ios::binary);
    std::stringstream file;
    file << in.rdbuf();
    EXPECT_EQ(run.out, file.str())
        << "regenerate with: vrl73m-cli settings --keys-doc > docs/settings-keys.md";
}

TEST(Cli, SetAppliesInOrderAndRefusesWithoutWriting) {
    const fs::path dir = tempDir();
    const std::string a = (dir / "set-a.dat").string(), b = (dir / "set-b.dat").string();
    ASSERT_EQ(cli("new --row 5 -o " + a).status, 0);
    CliRun ok = cli("set " + a + " message.line_1=HELLO extended.st_reverse_burst_phase_deg=#1 -o " + b);
    ASSERT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "message.line_1=HELLO\nextended.st_reverse_burst_phase_deg=-120\n");
    auto shown = json(cli("settings " + b + " --json --area extended"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]["text"], "-120");
    EXPECT_EQ(shown[0]["choices"].size(), 2u);

    fs::remove(b);
    for (const char* bad : {"message.line=HI", "extended.st_reverse_burst_phase_deg=+90",
                            "message.line_1=0123456789012345678901234567890123"}) {
        EXPECT_EQ(cli("set " + a + " message.line_2=X " + bad + " -o " + b).status, 2) << bad;
        EXPECT_FALSE(fs::exists(b)) << bad;
    }

    // A test frequency outside the band is stored, with the window's warning.
    CliRun far = cli("set " + a + " test_frequency.1.receive=190 -o " + b, true);
    EXPECT_EQ(far.status, 0);
    EXPECT_NE(far.out.find("warning: test_frequency.1.receive: The frequency lies outside"), std::string::npos)
        << far.out;
    EXPECT_EQ(cli("set " + a + " test_frequency.1.receive=150 -o " + b, true).out,
              "test_frequency.1.receive=150.00000\n");
}

TEST(Cli, SettingsAndSetRefuseWhatTheWindowsDoNotTake) {
    const fs::path dir = tempDir();
    const std::string small = (dir / "r-small.dat").string(), trunk = (dir / "r-trunk.dat").string();
    const std::string out = (dir / "r-out.dat").string();
    ASSERT_EQ(cli("new --row 0 -o " + small).status, 0);
    ASSERT_EQ(cli("new --row 0 --option trunking -o " + trunk).status, 0);
    const struct {
        std::string args;
        int status;
        const char* says;
    } cases[] = {
        {"set " + small + " scan.priority=#0 -o " + out, 2, "has no Scan window"},
        {"set " + trunk + " trunking.primary_code=12 -o " + out, 2, "takes 4 digits"},
        {"set " + trunk + " trunking.lower_block_decode=999 -o " + out, 2, "takes 4 digits"},
        {"set " + trunk + " trunking.code.0=12 -o " + out, 2, "takes 4 digits"},
        {"set " + trunk + " trunking.access_code= -o " + out, 2, "takes 5 digits"},
        {"settings " + small + " --area ''", 1, "unknown area ''"},
        {"settings --keys-doc " + small, 1, "takes no data file"},
    };
    for (const auto& c : cases) {
        const CliRun run = cli(c.args, true);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.args << ": " << run.out;
        EXPECT_FALSE(fs::exists(out)) << c.args;
    }
    EXPECT_EQ(cli("set " + trunk + " trunking.primary_code= trunking.code.0=1234 -o " + out).out,
              "trunking.primary_code=0000\ntrunking.code.0=1234\n");

    // A field the model hides is not shown; one it disables is shown.
    std::map<std::string, std::pair<bool, bool>> shownEnabled;
    for (const auto& f : json(cli("settings " + small + " --json --area optional")))
        shownEnabled[f["key"]] = {f["shown"], f["enabled"]};
    EXPECT_EQ(shownEnabled["optional.pre_alert_tone"], std::pair(false, false));
    EXPECT_EQ(shownEnabled["optional.radio_password"], std::pair(true, false));
}

TEST(Cli, PrintWritesAPdfWithTheHeadingModelBlockAndValues) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext missing";
    const fs::path dir = tempDir();
    const std::string a = (dir / "print-a.dat").string(), b = (dir / "print-b.dat").string();
    const std::string pdf = (dir / "print.pdf").string();
    ASSERT_EQ(cli("new --row 5 -o " + a).status, 0);
    ASSERT_EQ(cli("set " + a + " message.line_1=DEALER-42 -o " + b).status, 0);
    CliRun run = cli("print " + b + " -o " + pdf + " --sections model,keys,extended");
    ASSERT_EQ(run.status, 0);
    const CliRun text = [&] {
        CliRun t{-1, {}};
        FILE* pipe = popen(("pdftotext -layout " + pdf + " -").c_str(), "r");
        char buf[4096];
        for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) t.out.append(buf, n);
        t.status = pclose(pipe);
        return t;
    }();
    for (const char* expected : {"VRL-73M Programming Data", "print-b.dat Page: 1", "Page: 3", "Model Type",
                                 "RM-160A[128CH]:M", "146-174MHz", "DEALER-42", "Key Assignment",
                                 "ST Reverse Burst Phase [deg]", "+180"})
        EXPECT_NE(text.out.find(expected), std::string::npos) << expected << "\n" << text.out;
    EXPECT_EQ(cli("print " + b + " -o " + pdf + " --sections model,colours").status, 1);
}

namespace {
void patchByte(const std::string& file, long offset, uint8_t value) {
    FILE* f = fopen(file.c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    fseek(f, offset, SEEK_SET);
    fputc(value, f);
    fclose(f);
}
} // namespace

TEST(Cli, InfoJsonSurvivesAVersionTextThatIsNotUtf8) {
    const std::string file = (tempDir() / "latin.dat").string();
    ASSERT_EQ(cli("new --row 0 -o " + file).status, 0);
    patchByte(file, 50 + 0xBE, 0x80);
    CliRun info = cli("info " + file + " --json");
    ASSERT_EQ(info.status, 0);
    EXPECT_EQ(json(info)["version"], "V04\xEF\xBF\xBD"
                                     "2"); // U+FFFD in its place
}

TEST(Cli, NumbersOutOfRangeAreRefusedNotWrapped) {
    const std::string file = (tempDir() / "lang.dat").string();
    ASSERT_EQ(cli("new --row 0 -o " + file).status, 0);
    for (const char* language :
         {"4294967296", "-1", "9223372036854775807", "99999999999999999999"}) {
        SCOPED_TRACE(language);
        EXPECT_EQ(cli("channels " + file + " --language " + language).status, 1);
        EXPECT_EQ(cli("import-csv " + file + " x.csv -o y.dat --language " + language).status, 1);
    }
}

TEST(Cli, OutputThatIsNoRegularFileIsRefusedAndLeftAlone) {
    const fs::path dir = tempDir();
    const fs::path fifo = dir / "pipe.dat";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string data = (dir / "print.dat").string();
    ASSERT_EQ(cli("new --row 0 -o " + data).status, 0);
    for (const fs::path& target : {fs::path("/dev/null"), fifo, dir}) {
        SCOPED_TRACE(target.string());
        EXPECT_EQ(cli("new --row 0 -o " + target.string()).status, 2);
        EXPECT_EQ(cli("read --port /dev/null -o " + target.string()).status, 2);
        EXPECT_EQ(cli("print " + data + " -o " + target.string()).status, 2);
        // The trace is checked before the port: a FIFO with no reader never blocks.
        EXPECT_EQ(cli("read --port /dev/vrl-no-such-device -o " + data + " --trace " +
                      target.string())
                      .status,
                  2);
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    // A file nobody may write stays as it is, for the administrator too.
    const fs::path readOnly = dir / "kept.pdf";
    std::ofstream(readOnly) << "keep";
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(cli("print " + data + " -o " + readOnly.string()).status, 2);
    std::stringstream kept;
    kept << std::ifstream(readOnly).rdbuf();
    EXPECT_EQ(kept.str(), "keep");
}

TEST(Cli, FileWhoseImageIdentityNamesNoModelIsRefusedEverywhere) {
    const std::string file = (tempDir() / "split.dat").string();
    ASSERT_EQ(cli("new --row 0 -o " + file).status, 0);
    patchByte(file, 50 + 0xA8, '9'); // the image's copy; the header stays valid
    for (const char* command : {"info ", "channels ", "dump "})
        EXPECT_EQ(cli(command + file).status, 2) << command;
}

// Bad command lines of the service commands are refused before any port is opened
// (the port named does not exist, so reaching it would end with status 3).
TEST(Cli, ServiceCommandsRefuseBadOptionsBeforeTheRadio) {
    const fs::path dir = tempDir();
    const std::string data = (dir / "svc.dat").string();
    ASSERT_EQ(cli("new --row 0 -o " + data).status, 0);
    const std::string port = " --port /dev/vrl-no-such-device";
    std::vector<std::string> usage = {
        "test-mode" + port,                                  // no data file
        "test-mode " + data + port + " --channel 17",        // channels 1-16
        "test-mode " + data + port + " --signalling 0",      // signallings 1-12
        "test-mode " + data + port + " --bandwidth 2",
        "test-mode " + data + port + " --key -1",
        "test-mode " + data + port + " --key 1x",
        "tune " + data + port,                                // --item is required
        "tune " + data + port + " --item 1 --value 5 --step 1",
        "tune " + data + port + " --item 1 --value 0",        // shown values 1-256
        "tune " + data + port + " --item 1 --volume 32",
        "tune " + data + " --item 1",                         // no port
    };
    // The battery level of a portable (item 0) has no value: nothing may be sent.
    const std::string portable = (dir / "portable.dat").string();
    ASSERT_EQ(cli("new --row 15 -o " + portable).status, 0);
    for (const char* step : {" --value 5", " --step 1"})
        usage.push_back("tune " + portable + port + " --item 0" + step);
    for (const auto& args : usage) EXPECT_EQ(cli(args).status, 1) << args;
    EXPECT_EQ(cli("test-mode " + (dir / "missing.dat").string() + port).status, 2);
    EXPECT_EQ(cli("test-mode " + data + port).status, 3);
    fs::remove_all(dir);
}

// Inputs are read with a cap and in one layout only; the exit status of a signal is
// documented.
TEST(Cli, UnboundedOrMismatchedInputIsRefused) {
    const fs::path dir = tempDir();
    const std::string data = (dir / "in.dat").string();
    const std::string out = (dir / "out.dat").string();
    const std::string csv = (dir / "own.csv").string();
    ASSERT_EQ(cli("new --row 4 -o " + data).status, 0);
    std::ofstream(csv) << "Group,Channel,Receive\n1,1,150\n";
    EXPECT_EQ(cli("import-csv " + data + " /dev/zero -o " + out).status, 2);
    EXPECT_EQ(cli("import-csv " + data + " " + csv + " -o " + out + " --group 2").status, 1);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(cli("import-csv " + data + " " + csv + " -o " + out).status, 0);
    EXPECT_NE(cli("--help").out.find("130 interrupted by a signal"), std::string::npos);
    fs::remove_all(dir);
}

TEST(Cli, DiffExitStatusFollowsDiff) {
    const fs::path dir = tempDir();
    const std::string a = (dir / "diff-a.dat").string(), b = (dir / "diff-b.dat").string();
    const std::string junk = (dir / "diff-junk.dat").string();
    ASSERT_EQ(cli("new --row 5 -o " + a).status, 0);
    ASSERT_EQ(cli("set " + a + " message.line_1=HELLO -o " + b).status, 0);
    std::ofstream(junk) << "not a data file";
    struct Case {
        std::string args;
        int status;
    };
    const std::vector<Case> cases{
        {a + " " + a, 0},
        {a + " " + b, 1},
        {a + " " + junk, 2},
        {a + " " + (dir / "missing.dat").string(), 2},
        {a, 2},                       // one side only
        {a + " " + b + " --bogus", 2}, // bad option: trouble, not "different"
        {a + " radio:", 2},
        {a + " radio:" + (dir / "no-such-tty").string() + " --retries 0", 3},
        {"radio:virtual radio:virtual", 0},
        {a + " radio:virtual", 1}, // another model: compared by fields, with a note
    };
    for (const Case& c : cases) EXPECT_EQ(cli("diff " + c.args).status, c.status) << c.args;
}

TEST(Cli, DiffJsonNamesSidesAndDifferences) {
    const fs::path dir = tempDir();
    const std::string a = (dir / "dj-a.dat").string(), b = (dir / "dj-b.dat").string();
    ASSERT_EQ(cli("new --row 5 -o " + a).status, 0);
    ASSERT_EQ(cli("set " + a + " message.line_1=HELLO extended.st_reverse_burst_phase_deg=-120 -o " + b).status, 0);
    const CliRun run = cli("diff " + a + " " + b + " --json");
    ASSERT_EQ(run.status, 1);
    const auto j = json(run);
    EXPECT_EQ(j["a"]["label"], "RM-160A[128CH]:M");
    EXPECT_EQ(j["b"]["source"], b);
    EXPECT_EQ(j["a"]["identity"], j["b"]["identity"]);
    EXPECT_EQ(j["notes"].size(), 0u);
    ASSERT_EQ(j["differences"].size(), 2u);
    const auto& line = j["differences"][0];
    EXPECT_EQ(line["area"], "message");
    EXPECT_EQ(line["key"], "message.line_1");
    EXPECT_EQ(line["a"], "");
    EXPECT_EQ(line["b"], "HELLO");
    EXPECT_EQ(j["differences"][1]["b"], "-120");

    const CliRun plain = cli("diff " + a + " " + b);
    EXPECT_NE(plain.out.find("message.line_1 ("), std::string::npos) << plain.out;
    EXPECT_NE(plain.out.find("\"+180\" -> \"-120\""), std::string::npos) << plain.out;
    const auto german = json(cli("diff " + a + " " + b + " --json --language 1"));
    EXPECT_EQ(german["differences"][0]["key"], "message.line_1");
    EXPECT_EQ(german["differences"][1]["label"], "ST-Phasenumkehr [Grad]");

    const auto other = json(cli("diff " + a + " radio:virtual --json"));
    // Different models, and the board area a radio's memory does not hold.
    ASSERT_EQ(other["notes"].size(), 2u);
    EXPECT_NE(other["notes"][1].get<std::string>().find("trunking-board area"), std::string::npos);
    for (const auto& d : other["differences"]) EXPECT_NE(d["area"], "memory");
}
