#include "file/data_file.h"
#include "file/safe_save.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

using namespace vrl;
namespace fs = std::filesystem;

namespace {
constexpr uid_t kNobody = 65534;

class DataFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("vrl-datafile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::vector<uint8_t> slurp(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void spit(const fs::path& p, const std::vector<uint8_t>& bytes) {
        std::ofstream out(p, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    fs::path dir;
};
} // namespace

TEST_F(DataFileTest, WriteLaysOutHeaderAndImageAndReadsBackByteForByte) {
    RadioData data;
    newDataFor(data, models::identityFor(12, 1, OptionBoard::Trunking));
    data.image.setU8(0x2000, 0x42);
    const fs::path path = dir / "radio.dat";
    ASSERT_EQ(writeDataFile(path.string(), data.image).result, kFileOk);

    const auto file = slurp(path);
    ASSERT_EQ(file.size(), 33215u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 6), "VRL73M");
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 6, file.begin() + 10), std::vector<uint8_t>(4, 0xFF));
    EXPECT_EQ(std::string(file.begin() + 10, file.begin() + 15), "V0422");
    EXPECT_TRUE(std::equal(file.begin() + 15, file.begin() + 23, data.image.bytes().begin() + 0xA7));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 23, file.begin() + 50), std::vector<uint8_t>(27, 0xFF));
    EXPECT_EQ(file[50 + 0x2000], 0x42);

    RadioData back;
    ASSERT_EQ(readDataFile(path.string(), back.image).result, kFileOk);
    EXPECT_TRUE(std::equal(back.image.bytes().begin(), back.image.bytes().end(),
                           data.image.bytes().begin()));
    // Saving the read data again gives an identical file.
    const fs::path again = dir / "again.dat";
    ASSERT_EQ(writeDataFile(again.string(), back.image).result, kFileOk);
    EXPECT_EQ(slurp(again), file);
}

TEST_F(DataFileTest, RefusalsLeaveTheWorkingImageUntouched) {
    RadioData good;
    newDataFor(good, defaultIdentity());
    const fs::path path = dir / "x.dat";
    ASSERT_EQ(writeDataFile(path.string(), good.image).result, kFileOk);
    const auto valid = slurp(path);

    auto badTag = valid;
    badTag[0] = 'X';
    auto badModel = valid;
    badModel[16] = '9'; // "M9400"
    auto badBand = valid;
    badBand[20] = 0x06; // a UHF band on a VHF row
    auto shortFile = valid;
    shortFile.resize(33214);
    auto longFile = valid;
    longFile.push_back(0xFF);
    auto imageNamesNoModel = valid; // the header identity stays valid
    imageNamesNoModel[50 + 0xA8] = '9';
    for (const auto& bytes : {badTag, badModel, badBand, shortFile, longFile, imageNamesNoModel}) {
        spit(path, bytes);
        RadioData target;
        target.image.setU8(0x300, 0x11);
        EXPECT_EQ(readDataFile(path.string(), target.image).result, kFileNotDataFile);
        EXPECT_EQ(target.image.u8(0x300), 0x11);
        EXPECT_EQ(target.image.u8(0xA7), 0xFF);
    }
    RadioData target;
    EXPECT_EQ(readDataFile((dir / "missing.dat").string(), target.image).result, kFileCannotOpen);
}

TEST_F(DataFileTest, OtherVersionTextOpens) {
    RadioData data;
    newDataFor(data, defaultIdentity());
    const fs::path path = dir / "v.dat";
    ASSERT_EQ(writeDataFile(path.string(), data.image).result, kFileOk);
    auto bytes = slurp(path);
    bytes[10] = 'X';
    spit(path, bytes);
    RadioData back;
    EXPECT_EQ(readDataFile(path.string(), back.image).result, kFileOk);
}

TEST_F(DataFileTest, FailedSaveKeepsThePreviousFile) {
    const fs::path path = dir / "keep.dat";
    spit(path, {1, 2, 3});
    // The writes fail part-way (the file size limit stands in for a full disk).
    RadioData data;
    newDataFor(data, defaultIdentity());
    rlimit before{};
    ::getrlimit(RLIMIT_FSIZE, &before);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    DataFileStatus status = writeDataFile(path.string(), data.image);
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(status.result, kFileWriteFailed);
    EXPECT_EQ(status.systemError, EFBIG);
    EXPECT_EQ(slurp(path), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
        << "the temporary file is gone";
}

// The temporary file has a name of its own each time and is created new: a user's
// file under any name (here the fixed name an older version used) stays untouched,
// and a trace written piece by piece appears only when it is complete.
TEST_F(DataFileTest, TemporaryFilesNeverTouchTheUsersFiles) {
    const fs::path path = dir / "keep.dat";
    spit(dir / "keep.dat.tmp~", {9});
    RadioData data;
    newDataFor(data, defaultIdentity());
    ASSERT_EQ(writeDataFile(path.string(), data.image).result, kFileOk);
    EXPECT_EQ(slurp(dir / "keep.dat.tmp~"), std::vector<uint8_t>{9});

    const fs::path trace = dir / "trace.txt";
    spit(trace, {'o', 'l', 'd'});
    ::chmod(trace.c_str(), 0640);
    SafeOutputFile out;
    ASSERT_TRUE(out.open(trace.string()).ok);
    {
        SafeOutputStream stream(out);
        stream << "line " << 1 << '\n';
    }
    EXPECT_EQ(slurp(trace), (std::vector<uint8_t>{'o', 'l', 'd'})) << "replaced only at the end";
    ASSERT_TRUE(out.commit().ok);
    EXPECT_EQ(slurp(trace), (std::vector<uint8_t>{'l', 'i', 'n', 'e', ' ', '1', '\n'}));
    struct stat st {};
    ::stat(trace.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    {
        SafeOutputFile dropped;
        ASSERT_TRUE(dropped.open((dir / "never.txt").string()).ok);
        dropped.write(std::string_view("x"));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);
}

// --- the safe save -------------------------------------------------------------

namespace {

// Runs `step` as a user without special rights: as itself, or, when the tests run as
// root (who may write anything), in a child process that gives its rights up first.
// Returns what `step` returned, or -1 when the rights could not be given up.
int asPlainUser(const std::function<int()>& step) {
    if (::geteuid() != 0) return step();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(255);
        ::_exit(step());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
}

// The file belongs to the plain user of asPlainUser().
void giveToPlainUser(const fs::path& p) {
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(p.c_str(), kNobody, kNobody), 0);
    }
}

mode_t modeOf(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

} // namespace

TEST_F(DataFileTest, SavingNeverGetsRoundAReadOnlyFileOrFolder) {
    struct Case {
        const char* name;
        mode_t fileMode;
        mode_t folderMode;
        SaveRefusal expected;
    };
    const Case cases[] = {
        {"read-only file", 0444, 0777, SaveRefusal::ReadOnly},
        {"read-only folder", 0644, 0555, SaveRefusal::FolderNotWritable},
    };
    RadioData data;
    newDataFor(data, defaultIdentity());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = dir / c.name;
        fs::create_directory(folder);
        const fs::path path = folder / "master.dat";
        spit(path, {1, 2, 3});
        giveToPlainUser(path);
        giveToPlainUser(folder);
        ::chmod(path.c_str(), c.fileMode);
        ::chmod(folder.c_str(), c.folderMode);
        const int refusal = asPlainUser([&] {
            const DataFileStatus st = writeDataFile(path.string(), data.image);
            const bool named = st.detail.find(path.string()) != std::string::npos;
            return st.result == kFileCannotOpen && named ? static_cast<int>(st.refusal) : 100;
        });
        ::chmod(folder.c_str(), 0777);
        ASSERT_NE(refusal, -1) << "cannot run as a plain user";
        EXPECT_EQ(refusal, static_cast<int>(c.expected));
        EXPECT_EQ(slurp(path), (std::vector<uint8_t>{1, 2, 3}));
        EXPECT_EQ(modeOf(path), c.fileMode);
        EXPECT_FALSE(fs::exists(folder / "master.dat.tmp~"));
    }
}

TEST_F(DataFileTest, SaveWritesThroughLinksAndRefusesWhatIsNoRegularFile) {
    RadioData data;
    newDataFor(data, defaultIdentity());
    // A link is written through: the link stays and its target gets the data.
    const fs::path target = dir / "real.dat";
    spit(target, {1});
    fs::create_symlink("real.dat", dir / "link.dat");
    ASSERT_EQ(writeDataFile((dir / "link.dat").string(), data.image).result, kFileOk);
    EXPECT_TRUE(fs::is_symlink(dir / "link.dat"));
    EXPECT_EQ(slurp(target).size(), kDataFileSize);

    // A FIFO and a folder are refused and stay what they were.
    const fs::path fifo = dir / "pipe.dat";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const fs::path folder = dir / "folder.dat";
    fs::create_directory(folder);
    for (const fs::path& p : {fifo, folder, fs::path("/dev/null")}) {
        SCOPED_TRACE(p.string());
        const DataFileStatus st = writeDataFile(p.string(), data.image);
        EXPECT_EQ(st.result, kFileCannotOpen);
        EXPECT_EQ(st.refusal, SaveRefusal::NotRegular);
        EXPECT_NE(st.detail.find(p.string()), std::string::npos);
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(DataFileTest, SaveKeepsTheModeOfAnExistingFile) {
    RadioData data;
    newDataFor(data, defaultIdentity());
    for (mode_t mode : {0600, 0640, 0664}) {
        const fs::path path = dir / ("m" + std::to_string(mode) + ".dat");
        spit(path, {1});
        ::chmod(path.c_str(), mode);
        ASSERT_EQ(writeDataFile(path.string(), data.image).result, kFileOk);
        EXPECT_EQ(modeOf(path), mode);
        EXPECT_EQ(slurp(path).size(), kDataFileSize);
    }
}
