#include "pty_line.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace vrl::radiosim {

PtyLine::~PtyLine() { hangUp(); }

bool PtyLine::create() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error_ = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ptsname(master_);
    if (!name) {
        error_ = "no name for the pseudo-terminal";
        return false;
    }
    path_ = name;
    slave_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        error_ = "cannot open " + path_ + ": " + std::strerror(errno);
        return false;
    }
    // Raw bytes, no echo, 9600 baud until the program sets the line.
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    tcsetattr(slave_, TCSANOW, &t);
    return true;
}

std::vector<uint8_t> PtyLine::receive(int timeoutMs) {
    std::vector<uint8_t> out;
    if (master_ < 0) return out;
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0 || !(p.revents & POLLIN)) return out;
    uint8_t buf[4096];
    const ssize_t n = read(master_, buf, sizeof buf);
    if (n > 0) out.assign(buf, buf + n);
    return out;
}

int PtyLine::lineBaud() const {
    termios t{};
    // On the master side the line settings read are those of the program's end.
    if (master_ < 0 || tcgetattr(master_, &t) != 0) return 0;
    switch (cfgetospeed(&t)) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return 0;
    }
}

bool PtyLine::send(std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

void PtyLine::hangUp() {
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
    slave_ = master_ = -1;
}

} // namespace vrl::radiosim
