#include "link/trace_transport.h"

#include <array>
#include <cstdio>

namespace vrl {

TraceTransport::TraceTransport(Transport& inner, std::ostream& out, Clock& clock)
    : inner_(inner), out_(out), clock_(clock), start_(clock.nowMs()) {}

void TraceTransport::stamp() {
    const int64_t t = clock_.nowMs() - start_;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%8lld.%03lld ", static_cast<long long>(t / 1000),
                  static_cast<long long>(t % 1000));
    out_ << buf;
}

void TraceTransport::dump(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && i % 32 == 0) out_ << "\n" << std::string(16, ' ');
        out_ << ' ' << kDigits[bytes[i] >> 4] << kDigits[bytes[i] & 0xF];
    }
}

bool TraceTransport::open() {
    const bool ok = inner_.open();
    stamp();
    out_ << "open " << inner_.name() << (ok ? "" : " FAILED") << '\n';
    return ok;
}

bool TraceTransport::close() {
    const bool ok = inner_.close();
    stamp();
    out_ << "close" << (ok ? "" : " FAILED") << '\n';
    out_.flush();
    return ok;
}

bool TraceTransport::applySettings(const LineSettings& settings) {
    const bool ok = inner_.applySettings(settings);
    stamp();
    out_ << "line " << formatLineSettings(settings) << (ok ? "" : " FAILED") << '\n';
    return ok;
}

bool TraceTransport::write(std::span<const uint8_t> bytes) {
    const bool ok = inner_.write(bytes);
    stamp();
    out_ << ">";
    dump(bytes);
    if (!ok) out_ << "  (write FAILED)";
    out_ << '\n';
    return ok;
}

size_t TraceTransport::read(std::span<uint8_t> buffer, int timeoutMs) {
    const size_t got = inner_.read(buffer, timeoutMs);
    stamp();
    out_ << "<";
    dump(buffer.first(got));
    if (got < buffer.size())
        out_ << "  (wanted " << buffer.size() << ", got " << got << " within " << timeoutMs
             << " ms)";
    out_ << '\n';
    return got;
}

void TraceTransport::discardInput() {
    // A millisecond lets a serial driver hand over what it holds, so the trace shows
    // the bytes the discard would drop.
    std::array<uint8_t, 256> pending{};
    while (const size_t got = inner_.read(pending, 1)) {
        stamp();
        out_ << "<";
        dump(std::span(pending).first(got));
        out_ << "  (discarded before the next write)\n";
    }
    inner_.discardInput();
}

} // namespace vrl
