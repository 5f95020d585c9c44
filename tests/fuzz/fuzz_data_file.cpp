// The data file reader on arbitrary bytes. A refused file leaves the image as it
// was, byte for byte; an accepted one gives the file's own image, and writing that
// image out and reading it back gives the same file again.
#include "file/data_file.h"
#include "fuzz_input.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unistd.h>

using namespace vrl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto image = std::make_unique<CDataImage::Bytes>();
    std::fill(image->begin(), image->end(), static_cast<uint8_t>(0xA5));
    const auto before = std::make_unique<CDataImage::Bytes>(*image);

    const DataFileStatus status = parseDataFile({data, size}, *image);
    if (status.result != kFileOk) {
        fuzz::check(*image == *before, "a refused data file changed the image");
        return 0;
    }
    fuzz::check(size == kDataFileSize, "a data file of the wrong length was accepted");
    fuzz::check(std::equal(image->begin(), image->end(), data + kDataFileHeaderSize),
                "the accepted image is not the file's image");

    // Save and read back: the same bytes, and the same file.
    static const std::string path = "/tmp/vrl_fuzz_data_file_" + std::to_string(getpid()) + ".dat";
    const DataFileStatus written = writeDataFile(path, std::span<const uint8_t>(*image));
    fuzz::check(written.result == kFileOk, "an accepted image could not be saved");
    CDataImage reread;
    const DataFileStatus read = readDataFile(path, reread);
    fuzz::check(read.result == kFileOk, "a saved data file was refused on reading");
    fuzz::check(std::equal(image->begin(), image->end(), reread.bytes().begin()),
                "a saved data file reads back different");
    FILE* f = std::fopen(path.c_str(), "rb");
    fuzz::check(f != nullptr, "the saved data file cannot be opened");
    std::vector<uint8_t> file(kDataFileSize + 1);
    const size_t got = std::fread(file.data(), 1, file.size(), f);
    std::fclose(f);
    ::unlink(path.c_str());
    // The header is rebuilt from the image's own identity (the copy every window goes
    // by); the image part is the accepted file's.
    fuzz::check(got == kDataFileSize, "the saved file has the wrong length");
    fuzz::check(std::memcmp(file.data() + kDataFileHeaderSize, data + kDataFileHeaderSize,
                            CDataImage::kSize) == 0,
                "the saved file's image differs from the accepted one");
    ModelIdentity id;
    std::copy_n(image->begin() + layout::kIdentity, 8, id.bytes.begin());
    const auto header = dataFileHeader(id);
    fuzz::check(std::equal(header.begin(), header.end(), file.begin()),
                "the saved file's header does not name the image's identity");
    return 0;
}
