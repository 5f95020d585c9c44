// Helpers shared by the fuzz targets: reading choices out of the fuzzer's bytes,
// building the New data of a model chosen by them, and stopping loudly when an
// invariant breaks (libFuzzer keeps the input that aborted).
#pragma once

#include "model/model_table.h"
#include "model/new_data.h"
#include "channels/text_source.h"
#include "model/radio_data.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace vrl::fuzz {

// Aborts with a message: the fuzzer records the input as a crash.
[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}
inline void check(bool ok, const char* what) {
    if (!ok) fail(what);
}

// Consumes the fuzzer's bytes from the front; once they run out every read yields 0.
class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }
    uint8_t byte() { return empty() ? 0 : data_[pos_++]; }
    // A number from 0 to n - 1 (n > 0).
    int below(int n) { return n <= 1 ? 0 : static_cast<int>(word() % static_cast<unsigned>(n)); }
    unsigned word() { return static_cast<unsigned>(byte()) | (static_cast<unsigned>(byte()) << 8); }
    // Up to `maxLength` bytes, ended early by a 0 byte (which is consumed).
    std::string text(size_t maxLength) {
        std::string out;
        while (!empty() && out.size() < maxLength) {
            const char c = static_cast<char>(byte());
            if (c == '\0') break;
            out.push_back(c);
        }
        return out;
    }
    std::string_view rest() {
        std::string_view out(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
        pos_ = size_;
        return out;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// New data of a model row, band and option board picked by the input.
inline void newDataOfChoice(RadioData& data, Input& in) {
    const int row = in.below(kModelRowCount);
    const auto& r = modelTable()[static_cast<size_t>(row)];
    const int band = in.below(r.bandCount);
    const auto board = static_cast<OptionBoard>(in.below(3));
    newDataFor(data, models::identityFor(row, band, board));
}

} // namespace vrl::fuzz

#include "lang/language_table.h"

namespace vrl::fuzz {

// The English texts of the language file in the source tree, loaded once.
inline const LanguageTable& languageTexts() {
    static const LanguageTable table = [] {
        LanguageTable t;
        if (t.loadFile(std::string(VRL_SOURCE_DIR) + "/data/vrl73m.lng") != LanguageLoadStatus::Ok)
            fail("the language file of the source tree does not load");
        return t;
    }();
    return table;
}

inline TextSource textSource() {
    return [](int index) { return languageTexts().text(index); };
}

} // namespace vrl::fuzz
