#include "file/data_file.h"

#include "model/model_table.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
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
    if (file.size() < kDataFileSize)
        return {kFileNotDataFile, 0,
                "the file holds " + std::to_string(file.size()) + " bytes, a data file " +
                    std::to_string(kDataFileSize)};
    if (std::memcmp(file.data(), kProductTag, 6) != 0)
        return {kFileNotDataFile, 0, "the file does not start with the tag VRL73M"};
    ModelIdentity id;
    std::copy_n(file.begin() + 15, 8, id.bytes.begin());
    if (!models::isAcceptable(id))
        return {kFileNotDataFile, 0, "the model identity " + id.hex() + " names no supported model"};
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

    // Write beside the target and rename over it, so a failure never costs the old file.
    const std::string temp = path + ".tmp~";
    errno = 0;
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return {kFileCannotOpen, errno, "cannot create " + temp + ": " + std::strerror(errno)};
    bool ok = std::fwrite(header.data(), 1, header.size(), f) == header.size() &&
              std::fwrite(imageBytes.data(), 1, imageBytes.size(), f) == imageBytes.size() &&
              std::fflush(f) == 0;
    int err = ok ? 0 : errno;
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        std::remove(temp.c_str());
        return {kFileWriteFailed, err, "cannot write " + path + ": " + std::strerror(err)};
    }
    return {};
}

DataFileStatus writeDataFile(const std::string& path, const CDataImage& image) {
    return writeDataFile(path, image.bytes());
}

} // namespace vrl
