#include "util/text_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace vrl {

bool readTextInput(const std::string& path, std::string& bytes, std::string& error,
                   std::size_t limit) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "cannot read " + path + ": it is a folder";
        return false;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!f) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string out;
    char buf[65536];
    for (;;) {
        const std::size_t n = std::fread(buf, 1, sizeof buf, f.get());
        if (n > 0) {
            if (out.size() + n > limit) {
                error = path + " is larger than " + std::to_string(limit >> 20) +
                        " MiB; the program reads text inputs up to that size";
                return false;
            }
            out.append(buf, n);
        }
        if (n < sizeof buf) {
            if (std::ferror(f.get())) {
                error = "cannot read " + path + ": " + std::strerror(errno);
                return false;
            }
            break;
        }
    }
    bytes = std::move(out);
    return true;
}

} // namespace vrl
