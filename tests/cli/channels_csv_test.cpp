// vrl73m-cli channels --csv and import-csv as a script uses them: a channel table
// exported, applied to fresh data of the same model and exported again comes out
// the same; a bad row is named by line and column and nothing is written. The copy
// command on data built that way.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

class ChannelsCsv : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vrl-csv-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    CliResult cli(const std::string& args) const {
        const std::string errFile = path("stderr.txt");
        const std::string command = std::string(VRL_CLI_PATH) + " " + args + " 2>" + errFile;
        CliResult run;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return run;
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
            run.out.append(buf, n);
        const int raw = pclose(pipe);
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.err = read(errFile);
        return run;
    }

    std::string write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
        return path(name);
    }
    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // Fresh New data of a model row.
    std::string fresh(int row, const std::string& name) const {
        const CliResult run = cli("new --row " + std::to_string(row) + " -o " + path(name));
        EXPECT_EQ(run.status, 0) << run.err;
        return path(name);
    }

    // Export, apply to fresh data of the same row, export again: both the same.
    void roundTrip(int row, const std::string& rows) {
        const std::string base = fresh(row, "base.dat");
        const std::string in = write("in.csv", rows);
        CliResult applied = cli("import-csv " + base + " " + in + " -o " + path("first.dat"));
        ASSERT_EQ(applied.status, 0) << applied.err;
        CliResult first = cli("channels " + path("first.dat") + " --csv");
        ASSERT_EQ(first.status, 0) << first.err;
        const std::string exported = write("first.csv", first.out);

        const std::string other = fresh(row, "other.dat");
        applied = cli("import-csv " + other + " " + exported + " -o " + path("second.dat"));
        ASSERT_EQ(applied.status, 0) << applied.err;
        CliResult second = cli("channels " + path("second.dat") + " --csv");
        ASSERT_EQ(second.status, 0) << second.err;
        EXPECT_EQ(second.out, first.out);
        firstExport_ = first.out;
    }

    fs::path dir_;
    std::string firstExport_;
};

constexpr int kRm160K = 4;  // 128 channels, groups
constexpr int kRm140K = 0;  // 8 channels
constexpr int kRp130K = 25; // portable, 32 channels

const char* kHeader =
    "Group,Channel,Receive,Transmit,Decode,Encode,Name,OptionSignalling,IdCode,PttId,"
    "BeginOfTx,EndOfTx\n";

TEST_F(ChannelsCsv, RoundTripThroughFreshDataOfEveryCapacity) {
    for (int row : {kRm160K, kRp130K, kRm140K}) {
        SCOPED_TRACE(row);
        roundTrip(row, std::string(kHeader) + "1,1,150.5,155,D23,88.5,ab,DTMF,4711,Both,12a*,#9\n"
                                              "1,3,148.00625,,67,,,None,000,Off,,\n"
                                              "1,5,\"150,0125\",150,D189I,,x,2-Tone,000,BOT,1,\n");
        // Texts come out in their normal form.
        EXPECT_NE(firstExport_.find("1,1,150.50000,155.00000,D230N,88.5,"), std::string::npos);
        EXPECT_NE(firstExport_.find("1,5,150.01250,150.00000,D177I,"), std::string::npos);
        EXPECT_NE(firstExport_.find(",DTMF,4711,"), std::string::npos);
        EXPECT_NE(firstExport_.find(",12A*,#9,"), std::string::npos);
    }
}

TEST_F(ChannelsCsv, RoundTripKeepsChannelsOfSeveralGroups) {
    roundTrip(kRm160K, "Group,Channel,Receive,Name\n"
                       "1,1,150,A\n"
                       "2,128,151,B\n"
                       "128,7,152,C\n");
    std::istringstream lines(firstExport_);
    std::string line;
    int count = 0;
    while (std::getline(lines, line))
        ++count;
    EXPECT_EQ(count, 4); // header and three channels
    EXPECT_NE(firstExport_.find("\n128,7,152.00000,"), std::string::npos);
}

TEST_F(ChannelsCsv, BadRowNamesLineAndColumnAndWritesNothing) {
    struct Bad {
        const char* csv;
        const char* where;
    };
    const Bad cases[] = {
        {"Group,Channel,Receive,TxPower\n1,1,150,High\n1,2,150,Bogus\n", "line 3, column 4"},
        {"Group,Channel,Receive\n1,1,abc\n", "line 2, column 3"},
        {"Group,Channel,Receive\n1,129,150\n", "line 2, column 2"},
        {"Group,Channel,Receive,Name\n1,1,150,ok\n1,2,150,\"a,b\"\n", "line 3, column 4"},
    };
    const std::string base = fresh(kRm160K, "base.dat");
    for (const Bad& b : cases) {
        SCOPED_TRACE(b.csv);
        const std::string out = path("out.dat");
        const CliResult run =
            cli("import-csv " + base + " " + write("bad.csv", b.csv) + " -o " + out);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(b.where), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("nothing written"), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(ChannelsCsv, RefusedImportLeavesAnExistingOutputUntouched) {
    const std::string base = fresh(kRm160K, "base.dat");
    const std::string out = fresh(kRm140K, "out.dat");
    const std::string before = read(out);
    const CliResult run = cli("import-csv " + base + " " +
                              write("bad.csv", "Group,Channel,Receive\n1,1,abc\n") + " -o " + out);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(read(out), before);
}

// --- CHIRP-layout CSV ----------------------------------------------------------------

const char* kChirpHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,"
    "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

TEST_F(ChannelsCsv, ChirpRoundTripThroughFreshDataOfEveryCapacity) {
    const std::string plan =
        std::string(kChirpHeader) +
        "1,Rpt,150.000000,-,0.600000,Tone,123.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n"
        "2,,151.012500,off,0.000000,Cross,88.5,88.5,025,RN,754,DTCS->DTCS,NFM,12.50,S,Low,,,,,\r\n"
        "3,,152.000000,,0.000000,TSQL,88.5,100.0,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n";
    for (int row : {kRm160K, kRp130K, kRm140K}) {
        SCOPED_TRACE(row);
        const std::string first = path("first.dat"), second = path("second.dat");
        CliResult run =
            cli("import-csv " + fresh(row, "a.dat") + " " + write("in.csv", plan) + " -o " + first);
        ASSERT_EQ(run.status, 0) << run.err;
        const CliResult exported = cli("channels " + first + " --csv --format chirp");
        ASSERT_EQ(exported.status, 0) << exported.err;
        EXPECT_EQ(exported.out.rfind(kChirpHeader, 0), 0u);
        EXPECT_NE(
            exported.out.find(
                ",151.012500,off,0.000000,Cross,88.5,88.5,025,RN,754,DTCS->DTCS,NFM,12.50,S,Low,"
                "G1 C2,,,,\r\n"),
            std::string::npos)
            << exported.out;
        run = cli("import-csv " + fresh(row, "b.dat") + " " + write("out.csv", exported.out) +
                  " -o " + second);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(cli("channels " + second + " --csv --format chirp").out, exported.out);
    }
}

TEST_F(ChannelsCsv, ChirpRowTheRadioCannotHoldIsRefusedAndNothingWritten) {
    const std::string bad =
        std::string(kChirpHeader) +
        "1,,150.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n"
        "2,,150.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,5.00,,High,,,,,\r\n";
    const std::string out = path("out.dat");
    const CliResult run =
        cli("import-csv " + fresh(kRm160K, "a.dat") + " " + write("bad.csv", bad) + " -o " + out);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("line 3, column 13 (Mode)"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(out));
    // Options that cannot apply are refused before anything is read.
    EXPECT_EQ(cli("channels " + path("a.dat") + " --format chirp").status, 1);
    EXPECT_EQ(cli("channels " + path("a.dat") + " --csv --format other").status, 1);
    EXPECT_EQ(
        cli("import-csv " + path("a.dat") + " " + path("bad.csv") + " -o " + out + " --group 129")
            .status,
        1);
}

// Real-world-shaped CHIRP files (tests/data/chirp): what lands where, what is refused.
TEST_F(ChannelsCsv, ChirpSamplesImportAsChirpReadsThem) {
    struct Case {
        const char* sample;
        std::string options; // of 'new', then of import-csv
        std::string args;
        int status;
        std::vector<std::string> channels; // lines of 'channels --csv', from their start
        const char* message;               // in the error output
    };
    const Case cases[] = {
        {"older-17-columns.csv", "--row 4", "", 0,
         {"1,1,162.55000,,None,", "1,2,162.40000,,", "1,3,156.80000,156.80000,",
          "1,4,147.30000,147.90000,None,103.5,RPT A,", "1,5,151.82000,151.82000,D023I,D023N,SITE 2,",
          "1,6,152.48000,152.48000,123.0,100.0,CROSS,"},
         "1 row stored outside the band of RM-160A[128CH]:K"},
        {"lower-case-header.csv", "--row 4", "", 0,
         {"1,1,146.52000,146.52000,None,None,CALL,", "1,2,147.06000,147.66000,None,100.0,RPT 1,",
          "1,3,150.00000,155.50000,D754N,None,SPLIT,", "1,4,151.62500,151.62500,141.3,141.3,TSQL,"},
         "columns not read: Bank"},
        {"twenty-rows.csv", "--row 0 --option trunking", "", 0,
         {"1,16,150.20000,", "2,1,150.21250,", "5,1,150.25000,"},
         ""},
        {"twenty-rows.csv", "--row 0 --option trunking", "--group 3", 2, {},
         "only 6 of the 20 rows fit: that many channel numbers are free in groups 3 to 8"},
        {"twenty-rows.csv", "--row 0", "", 2, {},
         "only 8 of the 20 rows fit: the radio holds 8 channels and 0 are in use"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sample) + " " + c.options + " " + c.args);
        const CliResult made = cli("new " + c.options + " -o " + path("a.dat"));
        ASSERT_EQ(made.status, 0) << made.err;
        const std::string out = path("out.dat");
        fs::remove(out);
        const CliResult run = cli("import-csv " + path("a.dat") + " " + VRL_CHIRP_SAMPLES + "/" +
                                  c.sample + " -o " + out + " " + c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(fs::exists(out), c.status == 0);
        if (c.status != 0) continue;
        const std::string listed = cli("channels " + out + " --csv").out;
        for (const std::string& line : c.channels)
            EXPECT_NE(listed.find("\n" + line), std::string::npos) << line << "\n" << listed;
    }
}

TEST_F(ChannelsCsv, ChirpExportOfSeveralGroupsImportsBackIntoTheSameGroups) {
    const std::string data = path("d.dat");
    ASSERT_EQ(cli("import-csv " + fresh(kRm160K, "a.dat") + " " +
                  write("own.csv", "Group,Channel,Receive,Name\n1,1,150,A\n1,5,151,B\n2,1,152,C\n"
                                   "9,128,153,D\n") +
                  " -o " + data)
                  .status,
              0);
    const CliResult exported = cli("channels " + data + " --csv --format chirp");
    ASSERT_EQ(exported.status, 0);
    const std::string chirp = write("chirp.csv", exported.out);
    const CliResult run =
        cli("import-csv " + fresh(kRm160K, "b.dat") + " " + chirp + " -o " + path("back.dat"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(cli("channels " + path("back.dat") + " --csv").out, cli("channels " + data + " --csv").out);
    // Told where to go, the rows fill from that group instead.
    ASSERT_EQ(cli("import-csv " + path("b.dat") + " " + chirp + " -o " + path("g.dat") +
                  " --groups 3-4")
                  .status,
              0);
    EXPECT_NE(cli("channels " + path("g.dat") + " --csv").out.find("\n3,4,153.00000,"),
              std::string::npos);
}

// --- vrl73m-cli copy ----------------------------------------------------------------

// 128-channel data: group 1 with channels 1-10, group 2 with 4 channels, and
// `others` more channels spread over groups 3 and up.
std::string copyCsv(int others) {
    std::string csv = "Group,Channel,Receive,Name\n";
    for (int c = 1; c <= 10; ++c)
        csv += "1," + std::to_string(c) + ",15" + std::to_string(c % 10) + ",G1\n";
    for (int c = 1; c <= 4; ++c)
        csv += "2," + std::to_string(20 + c) + ",160,G2\n";
    for (int n = 0; n < others; ++n)
        csv += std::to_string(3 + n / 100) + "," + std::to_string(1 + n % 100) + ",170,X\n";
    return csv;
}

TEST_F(ChannelsCsv, CopyChannelAndGroupMatchTheListing) {
    const std::string base = fresh(kRm160K, "base.dat");
    ASSERT_EQ(cli("import-csv " + base + " " + write("in.csv", copyCsv(0)) + " -o " + path("d.dat"))
                  .status,
              0);
    CliResult run =
        cli("copy " + path("d.dat") + " -o " + path("c.dat") + " --channel 1:3 --to 5:9");
    ASSERT_EQ(run.status, 0) << run.err;
    run = cli("copy " + path("c.dat") + " -o " + path("g.dat") + " --group 1 --to 2");
    ASSERT_EQ(run.status, 0) << run.err;
    const CliResult list = cli("channels " + path("g.dat") + " --csv");
    ASSERT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("\n5,9,153.00000,"), std::string::npos);
    EXPECT_NE(list.out.find("\n2,10,150.00000,"), std::string::npos);
    EXPECT_EQ(list.out.find("\n2,21,"), std::string::npos) << "target group replaced";
    const CliResult source = cli("channels " + path("d.dat") + " --csv");
    EXPECT_EQ(list.out.substr(0, list.out.find("\n2,")),
              source.out.substr(0, source.out.find("\n2,")));
    // Onto itself: the data are written unchanged.
    for (const char* args : {"--channel 1:4 --to 1:4", "--group 2 --to 2"}) {
        run = cli("copy " + path("d.dat") + " -o " + path("same.dat") + " " + args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(read(path("same.dat")), read(path("d.dat")));
    }
}

TEST_F(ChannelsCsv, CopyRefusalsWriteNothing) {
    const std::string base = fresh(kRm160K, "base.dat");
    const std::string full = path("full.dat"); // 125 channels in use
    ASSERT_EQ(
        cli("import-csv " + base + " " + write("in.csv", copyCsv(111)) + " -o " + full).status, 0);
    const std::string small = fresh(kRm140K, "small.dat");
    struct Case {
        std::string file, args, reason;
        int status;
    };
    const Case cases[] = {
        {full, "--group 1 --to 2", "exceed 128", 2}, // 125 + 10 - 4 = 131
        {full, "--channel 1:50 --to 1:51", "does not exist", 2},
        {small, "--group 1 --to 2", "between groups", 2},
        {full, "--channel 1 --to 1:2", "G:C", 1},
        {small, "--channel 1:1 --to 1:9", "the target channel 9 is outside group 1's channels 1-8", 2},
        {small, "--channel 2:1 --to 1:1", "the source group 2 is outside the model's groups 1-1", 2},
        {full, "--group 1 --to 200", "the target group 200 is outside the model's groups 1-128", 2},
        {full, "--channel 0x1:1 --to 1:2", "decimal", 1},
        {full, "--channel 1:1 --to 1:2 --to 1:3", "--to is given twice", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const std::string out = path("out.dat");
        const CliResult run = cli("copy " + c.file + " -o " + out + " " + c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(out));
    }
    // Fewer channels in use: the same group copy is carried out (120 + 10 - 4 = 126).
    const std::string fits = path("fits.dat");
    ASSERT_EQ(
        cli("import-csv " + base + " " + write("in2.csv", copyCsv(106)) + " -o " + fits).status, 0);
    EXPECT_EQ(cli("copy " + fits + " -o " + path("out.dat") + " --group 1 --to 2").status, 0);
}

} // namespace
