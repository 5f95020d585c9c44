// The data file: a 50-byte header ("VRL73M", four 0xFF, "V0422", the 8 identity
// bytes, 27 x 0xFF) followed by the 33165-byte data image; 33215 bytes in all.
#pragma once

#include "file/safe_save.h"
#include "model/data_image.h"

#include <string>

namespace vrl {

inline constexpr size_t kDataFileHeaderSize = 50;
inline constexpr size_t kDataFileSize = kDataFileHeaderSize + CDataImage::kSize; // 33215
inline constexpr char kProductTag[] = "VRL73M";

enum DataFileResult : int {
    kFileOk = 0,
    kFileCannotOpen = 1,  // read: cannot be opened; write: cannot be created
    kFileNotDataFile = 2, // read: wrong tag, wrong length, or an identity not acceptable
    kFileWriteFailed = 3, // write: a write, flush or rename failed
};

struct DataFileStatus {
    DataFileResult result = kFileOk;
    int systemError = 0;    // errno of the failed operation, 0 when none
    std::string detail;     // a readable reason, for logs and the command line
    SaveRefusal refusal = SaveRefusal::None; // write: why the target was refused
};

// Builds the header for an identity.
std::array<uint8_t, kDataFileHeaderSize> dataFileHeader(const ModelIdentity& id);

// Checks a complete file's bytes; on success copies the image into `out`.
// `out` is untouched on every refusal.
DataFileStatus parseDataFile(std::span<const uint8_t> file, CDataImage::Bytes& out);

// Reads `path` into the working image of `image` (nothing else changes on failure).
DataFileStatus readDataFile(const std::string& path, CDataImage& image);

// Writes the working image to `path` by the safe save (safe_save.h): the previous
// file is never destroyed, links are written through, a read-only or non-regular
// target is refused (result 1 with `refusal` set) and an existing file keeps its mode.
DataFileStatus writeDataFile(const std::string& path, const CDataImage& image);
// The same for raw image bytes (the simulator keeps its memory this way).
DataFileStatus writeDataFile(const std::string& path, std::span<const uint8_t> imageBytes);

} // namespace vrl
