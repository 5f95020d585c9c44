// Saving a file without ever losing the previous one: the bytes go to a temporary
// file with a unique name beside the target (created new, so no file of the user's
// is ever truncated), which is flushed and then renamed over it. Before that the
// target is checked as the person means it: a symbolic link is followed to the file
// it names, a target that is not a regular file (a device, a FIFO, a folder) is
// refused, a read-only file is refused and left alone, and an existing file keeps
// its mode and owner. Every file the program writes goes through here: data files,
// backups, PDFs, CSV exports and traces.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <span>
#include <streambuf>
#include <string>
#include <string_view>
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

// A file written piece by piece (a trace of a radio exchange) under the same rules:
// open() checks the target and creates the temporary file, write() appends, commit()
// puts the file in place. Dropped without commit(), the temporary file is removed.
class SafeOutputFile {
  public:
    SafeOutputFile();
    ~SafeOutputFile();
    SafeOutputFile(const SafeOutputFile&) = delete;
    SafeOutputFile& operator=(const SafeOutputFile&) = delete;

    SaveOutcome open(const std::string& path);
    // False once any write has failed (the first failure is kept for commit()).
    bool write(std::span<const uint8_t> bytes);
    bool write(std::string_view text);
    // Flushes, gives the file the target's mode and renames it into place; reports a
    // write that failed earlier.
    SaveOutcome commit();
    void abandon();
    bool isOpen() const { return open_; }
    bool failed() const { return error_ != 0; }
    // The temporary file while open (for messages and tests).
    const std::string& temporaryPath() const { return temp_; }

  private:
    struct Handle;
    std::string path_, target_, temp_;
    std::unique_ptr<Handle> handle_;
    bool open_ = false;
    int error_ = 0;
};

// A buffered std::ostream over a SafeOutputFile, for writers that speak streams.
// flush() before the file's commit().
class SafeOutputStream : public std::ostream {
  public:
    explicit SafeOutputStream(SafeOutputFile& file);
    ~SafeOutputStream() override;

  private:
    class Buffer : public std::streambuf {
      public:
        explicit Buffer(SafeOutputFile& file);

      protected:
        int_type overflow(int_type c) override;
        int sync() override;

      private:
        SafeOutputFile& file_;
        char space_[4096];
    };
    Buffer buffer_;
};

} // namespace vrl
