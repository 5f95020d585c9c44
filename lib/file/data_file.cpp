#include "file/data_file.h"

#include "model/model_table.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace vrl {

std::array<uint8_t, kDataFileHeaderSize> dataFileHeader(const ModelIdentity& id) {
    std::array<uint8_t, kDataFileHeaderSize> h;
    h.fill(0xFF);
    std::memcpy(h.data(), kProductTag, 6);
    std::memcpy(h.data() + 10, layout::kDataVersion, 5);
    std::copy(id.bytes.begin(), id.bytes.end(), h.begin() + 15);
    return h;
}

DataFileStatus parseDataFile(std::span<const uint8_t> file, CDataImage::Bytes& out) {
    // A data file has exactly one length: a longer file is some other file that
    // happens to begin like one, and its tail would be lost without a word.
    if (file.size() != kDataFileSize)
        return {kFileNotDataFile, 0,
                "the file holds " + std::to_string(file.size()) + " bytes, a data file " +
                    std::to_string(kDataFileSize)};
    if (std::memcmp(file.data(), kProductTag, 6) != 0)
        return {kFileNotDataFile, 0, "the file does not start with the tag VRL73M"};
    ModelIdentity id;
    std::copy_n(file.begin() + 15, 8, id.bytes.begin());
    if (!models::isAcceptable(id))
        return {kFileNotDataFile, 0, "the model identity " + id.hex() + " names no supported model"};
    // The image carries the identity a second time, and that copy is the one every
    // window and the radio go by: a file whose copy names no model is refused too.
    ModelIdentity imageId;
    std::copy_n(file.begin() + kDataFileHeaderSize + layout::kIdentity, 8, imageId.bytes.begin());
    if (!models::isAcceptable(imageId))
        return {kFileNotDataFile, 0,
                "the header identity " + id.hex() + " and the image identity " + imageId.hex() +
                    " disagree: the image identity names no supported model"};
    std::copy_n(file.begin() + kDataFileHeaderSize, CDataImage::kSize, out.begin());
    return {};
}

DataFileStatus readDataFile(const std::string& path, CDataImage& image) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return {kFileCannotOpen, errno, "cannot open " + path + ": " + std::strerror(errno)};
    // Read one byte more than a data file holds, so an over-long file is seen too.
    std::vector<uint8_t> bytes(kDataFileSize + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (in.bad()) return {kFileCannotOpen, errno, "cannot read " + path};
    CDataImage::Bytes parsed;
    DataFileStatus status = parseDataFile(bytes, parsed);
    if (status.result != kFileOk) return status;
    std::copy(parsed.begin(), parsed.end(), image.bytes().begin());
    return status;
}

DataFileStatus writeDataFile(const std::string& path, std::span<const uint8_t> imageBytes) {
    if (imageBytes.size() != CDataImage::kSize)
        return {kFileWriteFailed, EINVAL, "the image has the wrong size"};
    ModelIdentity id;
    std::copy_n(imageBytes.begin() + layout::kIdentity, 8, id.bytes.begin());
    const auto header = dataFileHeader(id);

    const SaveOutcome saved = saveFileSafely(path, {header, imageBytes});
    if (saved.ok) return {};
    DataFileStatus status;
    status.result = saved.created ? kFileWriteFailed : kFileCannotOpen;
    status.systemError = saved.systemError;
    status.detail = saved.detail;
    status.refusal = saved.refusal;
    return status;
}

DataFileStatus writeDataFile(const std::string& path, const CDataImage& image) {
    return writeDataFile(path, image.bytes());
}

} // namespace vrl
