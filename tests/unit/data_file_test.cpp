#include "file/data_file.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace vrl;
namespace fs = std::filesystem;

namespace {
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
    for (const auto& bytes : {badTag, badModel, badBand, shortFile}) {
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
    // The temporary file cannot be created: its name is taken by a folder.
    fs::create_directory(dir / "keep.dat.tmp~");
    RadioData data;
    newDataFor(data, defaultIdentity());
    DataFileStatus status = writeDataFile(path.string(), data.image);
    EXPECT_NE(status.result, kFileOk);
    EXPECT_NE(status.systemError, 0);
    EXPECT_EQ(slurp(path), (std::vector<uint8_t>{1, 2, 3}));
}
