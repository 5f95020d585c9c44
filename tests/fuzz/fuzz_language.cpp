// The language file loader on arbitrary bytes. It must accept or refuse without
// fault; a refused file leaves the table that was loaded before; an accepted one
// answers every row and language it claims to have.
#include "fuzz_input.h"
#include "lang/language_table.h"

using namespace vrl;

namespace {

// A small valid table loaded before each input, so a refusal can be seen to keep it.
std::string baseTable() {
    std::string s = "Label,English\nFace,Arial\nHeight,12\n";
    for (int row = 2; row < LanguageTable::kFirstLanguageNameRow + 1; ++row)
        s += "T" + std::to_string(row) + ",text " + std::to_string(row) + "\n";
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string base = baseTable();
    LanguageTable table;
    if (table.loadBytes(base) != LanguageLoadStatus::Ok) {
        std::fprintf(stderr, "%s\n", table.errorDetail().c_str());
        fuzz::fail("the base table does not load");
    }
    const std::string before = table.text(7);
    const int rowsBefore = table.rowCount();

    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const LanguageLoadStatus status = table.loadBytes(bytes);
    if (status != LanguageLoadStatus::Ok) {
        fuzz::check(!table.errorDetail().empty(), "a refused language file gives no reason");
        fuzz::check(table.rowCount() == rowsBefore && table.languageCount() == 1 &&
                        table.text(7) == before,
                    "a refused language file changed the table");
        return 0;
    }
    const int languages = table.languageCount();
    fuzz::check(languages > 0, "an accepted language file has no language");
    fuzz::check(table.rowCount() == LanguageTable::kFirstLanguageNameRow + languages,
                "an accepted language file has the wrong row count");
    size_t total = 0;
    for (int language = 0; language < languages; ++language) {
        for (int row = 0; row < table.rowCount(); ++row) total += table.text(row, language).size() + 1;
        (void)table.font(language);
    }
    fuzz::check(total <= LanguageTable::kBytesPerCell * static_cast<size_t>(languages) *
                             static_cast<size_t>(table.rowCount()),
                "an accepted language file holds more text than its budget");
    fuzz::check(table.languageNames().size() == static_cast<size_t>(languages),
                "the language names do not match the language count");
    fuzz::check(table.text(-1) == LanguageTable::nullText() &&
                    table.text(table.rowCount()) == LanguageTable::nullText(),
                "a row out of range is not the null text");
    return 0;
}
