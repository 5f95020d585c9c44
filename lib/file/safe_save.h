// Saving a file without ever losing the previous one: the bytes go to a temporary
// file beside the target, which is flushed and then renamed over it. Before that the
// target is checked as the person means it: a symbolic link is followed to the file it
// names, a target that is not a regular file (a device, a FIFO, a folder) is refused,
// a read-only file is refused and left alone, and an existing file keeps its mode
// and owner.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vrl {

enum class SaveRefusal {
    None,
    ReadOnly,          // the target exists and the user may not write it
    FolderNotWritable, // the temporary file cannot be created beside the target
    NotRegular,        // the target is a device, FIFO, socket or folder
};

struct SaveOutcome {
    bool ok = true;
    bool created = true; // false when a write, flush or rename failed
    SaveRefusal refusal = SaveRefusal::None;
    int systemError = 0; // errno of the failed operation, 0 when none
    std::string detail;  // a readable reason naming the file
};

// The checks of a save without writing anything: whether `path` could be saved.
SaveOutcome checkSaveTarget(const std::string& path);

// Writes the parts one after the other as the new content of `path`.
SaveOutcome saveFileSafely(const std::string& path,
                           const std::vector<std::span<const uint8_t>>& parts);

// The file a save of `path` writes: `path` itself, or the end of its chain of
// symbolic links (which need not exist yet).
std::string saveTarget(const std::string& path);

} // namespace vrl
