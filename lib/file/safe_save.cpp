#include "file/safe_save.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <filesystem>
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vrl {

#ifdef _WIN32

// Windows has no symbolic links in normal use and no POSIX modes: the same checks
// through the standard library, then the temporary file and the rename.
std::string saveTarget(const std::string& path) {
    return path;
}

SaveOutcome checkSaveTarget(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto st = fs::status(path, ec);
    SaveOutcome out;
    if (!ec && fs::exists(st) && !fs::is_regular_file(st)) {
        out.ok = out.created = false;
        out.refusal = SaveRefusal::NotRegular;
        out.detail = path + " is not a regular file; nothing was written";
    } else if (!ec && fs::exists(st) &&
               (st.permissions() & fs::perms::owner_write) == fs::perms::none) {
        out.ok = out.created = false;
        out.refusal = SaveRefusal::ReadOnly;
        out.systemError = EACCES;
        out.detail = path + " is read-only; it was not changed";
    }
    return out;
}

SaveOutcome saveFileSafely(const std::string& path,
                           const std::vector<std::span<const uint8_t>>& parts) {
    if (SaveOutcome check = checkSaveTarget(path); !check.ok) return check;
    const std::string temp = path + ".tmp~";
    SaveOutcome out;
    {
        std::ofstream f(temp, std::ios::binary | std::ios::trunc);
        if (!f) {
            out.ok = out.created = false;
            out.systemError = errno;
            out.detail =
                "cannot save " + path + ": the temporary file " + temp + " cannot be created";
            return out;
        }
        for (const auto& part : parts)
            f.write(reinterpret_cast<const char*>(part.data()),
                    static_cast<std::streamsize>(part.size()));
        f.flush();
        out.ok = static_cast<bool>(f);
    }
    std::error_code ec;
    if (out.ok) std::filesystem::rename(temp, path, ec);
    if (!out.ok || ec) {
        std::filesystem::remove(temp, ec);
        out.ok = false;
        out.systemError = ec ? ec.value() : EIO;
        out.detail = "cannot write " + path;
    }
    return out;
}

#else

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string reasonText(int err) {
    return std::strerror(err);
}

std::string folderRefusal(const std::string& path, const std::string& folder) {
    return "cannot save " + path + ": the folder " + folder +
           " is not writable, and saving first writes a temporary file beside the file";
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

bool writeAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
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
        // must not be a way around the file's own protection.
        if (::access(target.c_str(), W_OK) != 0)
            return failure(SaveRefusal::ReadOnly, errno,
                           path + " is read-only; it was not changed");
    }
    const std::string folder = folderOf(target);
    if (::access(folder.c_str(), W_OK) != 0 && errno != ENOENT)
        return failure(SaveRefusal::FolderNotWritable, errno, folderRefusal(path, folder));
    return {};
}

SaveOutcome saveFileSafely(const std::string& path,
                           const std::vector<std::span<const uint8_t>>& parts) {
    if (SaveOutcome check = checkSaveTarget(path); !check.ok) return check;
    const std::string target = saveTarget(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;

    // A fixed name, so a save that was cut short leaves one known file behind; never
    // followed if something else put a link there.
    const std::string temp = target + ".tmp~";
    const int fd =
        ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int err = errno;
        return failure(SaveRefusal::None, err,
                       "cannot save " + path + ": the temporary file " + temp +
                           " cannot be created (" + reasonText(err) + ")");
    }

    bool ok = true;
    int err = 0;
    for (const auto& part : parts) {
        if (!writeAll(fd, part)) {
            ok = false;
            err = errno;
            break;
        }
    }
    if (ok) {
        // An existing file keeps its mode and, where allowed, its owner; a new one
        // gets the mode a plain create would give it.
        mode_t mode = 0;
        if (exists) {
            mode = existing.st_mode & 07777;
            if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
                // Only the owner's own files can be given away; the group may still fit.
                [[maybe_unused]] const int ignored =
                    ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid);
            }
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
            ok = false;
            err = errno;
        }
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return failure(SaveRefusal::None, err, "cannot write " + path + ": " + reasonText(err),
                       true);
    }
    return {};
}

#endif

} // namespace vrl
