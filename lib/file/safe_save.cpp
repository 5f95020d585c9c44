#include "file/safe_save.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#ifdef _WIN32
#include <filesystem>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vrl {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string reasonText(int err) {
    return std::strerror(err);
}

// `created`: the new file existed when the failure came (a write, flush or rename).
SaveOutcome failure(SaveRefusal why, int err, std::string detail, bool created = false) {
    SaveOutcome out;
    out.ok = false;
    out.created = created;
    out.refusal = why;
    out.systemError = err;
    out.detail = std::move(detail);
    return out;
}

} // namespace

#ifdef _WIN32

// Windows has no symbolic links in normal use and no POSIX modes: the same checks
// through the standard library, a temporary file created exclusively, the rename.
struct SafeOutputFile::Handle {
    std::FILE* file = nullptr;
};

std::string saveTarget(const std::string& path) {
    return path;
}

SaveOutcome checkSaveTarget(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto st = fs::status(path, ec);
    if (!ec && fs::exists(st) && !fs::is_regular_file(st))
        return failure(SaveRefusal::NotRegular, 0,
                       path + " is not a regular file; nothing was written");
    if (!ec && fs::exists(st) && (st.permissions() & fs::perms::owner_write) == fs::perms::none)
        return failure(SaveRefusal::ReadOnly, EACCES, path + " is read-only; it was not changed");
    return {};
}

SaveOutcome SafeOutputFile::open(const std::string& path) {
    abandon();
    if (SaveOutcome check = checkSaveTarget(path); !check.ok) return check;
    path_ = target_ = path;
    handle_ = std::make_unique<Handle>();
    std::random_device random;
    for (int attempt = 0; attempt < 100 && !handle_->file; ++attempt) {
        temp_ = folderOf(path) + "/." + nameOf(path) + "." + std::to_string(random()) + "~";
        handle_->file = std::fopen(temp_.c_str(), "wbx");
        if (!handle_->file && errno != EEXIST) break;
    }
    if (!handle_->file)
        return failure(SaveRefusal::FolderNotWritable, errno,
                       "cannot save " + path + ": no temporary file can be created beside it");
    open_ = true;
    error_ = 0;
    return {};
}

bool SafeOutputFile::write(std::span<const uint8_t> bytes) {
    if (!open_ || error_) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), handle_->file) != bytes.size())
        error_ = errno ? errno : EIO;
    return error_ == 0;
}

SaveOutcome SafeOutputFile::commit() {
    if (!open_) return failure(SaveRefusal::None, EBADF, "cannot save " + path_);
    if (std::fflush(handle_->file) != 0 && !error_) error_ = errno ? errno : EIO;
    if (std::fclose(handle_->file) != 0 && !error_) error_ = errno ? errno : EIO;
    handle_->file = nullptr;
    open_ = false;
    std::error_code ec;
    if (!error_) std::filesystem::rename(temp_, target_, ec);
    if (error_ || ec) {
        std::filesystem::remove(temp_, ec);
        const int err = error_ ? error_ : EIO;
        return failure(SaveRefusal::None, err, "cannot write " + path_ + ": " + reasonText(err),
                       true);
    }
    return {};
}

void SafeOutputFile::abandon() {
    if (!open_) return;
    std::fclose(handle_->file);
    handle_->file = nullptr;
    open_ = false;
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
}

#else

struct SafeOutputFile::Handle {
    int fd = -1;
    bool exists = false;
    struct stat existing {};
};

namespace {

std::string folderRefusal(const std::string& path, const std::string& folder) {
    return "cannot save " + path + ": the folder " + folder +
           " is not writable, and saving first writes a temporary file beside the file";
}

} // namespace

std::string saveTarget(const std::string& path) {
    std::string target = path;
    // A bounded walk: a loop of links ends like the system's own limit.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
        std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(target.c_str(), buf.data(), buf.size());
        if (n < 0 || static_cast<size_t>(n) >= buf.size()) return target;
        std::string next(buf.data(), static_cast<size_t>(n));
        target = next.front() == '/' ? next : folderOf(target) + "/" + next;
    }
    return target;
}

SaveOutcome checkSaveTarget(const std::string& path) {
    const std::string target = saveTarget(path);
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode))
            return failure(
                SaveRefusal::NotRegular, 0,
                path + " is not a regular file (" +
                    (S_ISDIR(existing.st_mode) ? "a folder" : "a device, FIFO or socket") +
                    "); nothing was written");
        // The rename of the safe save would replace a file the user cannot write: it
        // must not be a way around the file's own protection. A file nobody may write
        // is read-only for the administrator too.
        const bool denied = ::access(target.c_str(), W_OK) != 0;
        if (denied || (existing.st_mode & 0222) == 0)
            return failure(SaveRefusal::ReadOnly, denied ? errno : EACCES,
                           path + " is read-only; it was not changed");
    }
    const std::string folder = folderOf(target);
    if (::access(folder.c_str(), W_OK) != 0 && errno != ENOENT)
        return failure(SaveRefusal::FolderNotWritable, errno, folderRefusal(path, folder));
    return {};
}

SaveOutcome SafeOutputFile::open(const std::string& path) {
    abandon();
    if (SaveOutcome check = checkSaveTarget(path); !check.ok) return check;
    path_ = path;
    target_ = saveTarget(path);
    handle_ = std::make_unique<Handle>();
    handle_->exists = ::stat(target_.c_str(), &handle_->existing) == 0;
    // A name of its own each time, created new (mkstemp opens with O_EXCL): a file
    // the user keeps under any name is never opened, let alone truncated.
    std::string pattern = folderOf(target_) + "/." + nameOf(target_) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    handle_->fd = ::mkstemp(name.data());
    if (handle_->fd < 0) {
        const int err = errno;
        return failure(SaveRefusal::None, err,
                       "cannot save " + path + ": no temporary file can be created in " +
                           folderOf(target_) + " (" + reasonText(err) + ")");
    }
    ::fcntl(handle_->fd, F_SETFD, FD_CLOEXEC);
    temp_ = name.data();
    open_ = true;
    error_ = 0;
    return {};
}

bool SafeOutputFile::write(std::span<const uint8_t> bytes) {
    if (!open_ || error_) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(handle_->fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

SaveOutcome SafeOutputFile::commit() {
    if (!open_) return failure(SaveRefusal::None, EBADF, "cannot save " + path_);
    int err = error_;
    const int fd = handle_->fd;
    if (!err) {
        // An existing file keeps its mode and, where allowed, its owner; a new one
        // gets the mode a plain create would give it.
        mode_t mode = 0;
        if (handle_->exists) {
            mode = handle_->existing.st_mode & 07777;
            if (::fchown(fd, handle_->existing.st_uid, handle_->existing.st_gid) != 0) {
                // Only the owner's own files can be given away; the group may still fit.
                [[maybe_unused]] const int ignored =
                    ::fchown(fd, static_cast<uid_t>(-1), handle_->existing.st_gid);
            }
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) err = errno;
    }
    if (::close(fd) != 0 && !err) err = errno;
    handle_->fd = -1;
    open_ = false;
    if (!err && ::rename(temp_.c_str(), target_.c_str()) != 0) err = errno;
    if (err) {
        ::unlink(temp_.c_str());
        return failure(SaveRefusal::None, err, "cannot write " + path_ + ": " + reasonText(err),
                       true);
    }
    return {};
}

void SafeOutputFile::abandon() {
    if (!open_) return;
    ::close(handle_->fd);
    handle_->fd = -1;
    open_ = false;
    ::unlink(temp_.c_str());
}

#endif

SafeOutputFile::SafeOutputFile() = default;

SafeOutputFile::~SafeOutputFile() {
    abandon();
}

bool SafeOutputFile::write(std::string_view text) {
    return write(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

SaveOutcome saveFileSafely(const std::string& path,
                           const std::vector<std::span<const uint8_t>>& parts) {
    SafeOutputFile file;
    if (SaveOutcome opened = file.open(path); !opened.ok) return opened;
    for (const auto& part : parts)
        if (!file.write(part)) break;
    return file.commit();
}

SafeOutputStream::SafeOutputStream(SafeOutputFile& file) : std::ostream(nullptr), buffer_(file) {
    rdbuf(&buffer_);
}

SafeOutputStream::~SafeOutputStream() {
    flush();
}

SafeOutputStream::Buffer::Buffer(SafeOutputFile& file) : file_(file) {
    setp(space_, space_ + sizeof space_);
}

int SafeOutputStream::Buffer::sync() {
    const bool ok = file_.write(std::string_view(pbase(), static_cast<size_t>(pptr() - pbase())));
    setp(space_, space_ + sizeof space_);
    return ok ? 0 : -1;
}

SafeOutputStream::Buffer::int_type SafeOutputStream::Buffer::overflow(int_type c) {
    if (sync() != 0) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

} // namespace vrl
