// What the print-out says, section by section, as lines of text: the same
// labels and shown values as the function windows (the field tables), the key
// list, and the channel table of a group range. The desktop program paints these
// lines onto pages; nothing here knows about fonts or paper.
#pragma once

#include "features/field_table.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vrl {

enum class PrintSection : int {
    Model, Optional, Keys, Scan, Dtmf, TwoTone, Trunking, Emergency, Ost, TestFrequency,
    Message, Channels, Extended,
};
inline constexpr int kPrintSectionCount = 13;

struct PrintSectionInfo {
    PrintSection section;
    std::string_view name; // the command line's name: "model", "optional", ...
    int checkBoxId;        // the Print Out List dialog's check box
    int textIndex;         // the section's title (language text)
    std::string_view area; // the field-table area printed, or "" for a section of its own
};
const std::array<PrintSectionInfo, kPrintSectionCount>& printSections();
const PrintSectionInfo& printSectionInfo(PrintSection section);
std::optional<PrintSection> printSectionByName(std::string_view name);
// Every section is offered but Extended Function, which only the model rows of
// classes 1 and 2 have.
bool printSectionOffered(PrintSection section, const CDataImage& image);

struct PrintLine {
    enum class Kind {
        Title,     // the section's title: cells[0]
        Field,     // label and value: cells[0], cells[1]
        Pair,      // two numbered items side by side: label, value, label, value
        Heading,   // the heading of the table after it (a group, a list): its words
        TableHead, // the column headers of a table
        TableRow,  // one row of a table
        Separator, // a line of dashes between blocks
        Rule,      // the rule that closes a block
    };
    Kind kind;
    std::vector<std::string> cells;
    // Table lines of one section with the same number share their columns (the
    // channel tables of every group line up alike).
    int table = 0;
};

// The groups printed of the channel section, 1-based and inclusive, as the Print
// Out List dialog hands them over: each end limited to the groups in use, an end
// of 0 or less meaning the last group in use, and an end below the start meaning
// every group.
struct GroupRange {
    int first = 1;
    int last = 1;
};
GroupRange printGroupRange(int start, int end, int groupsInUse);
// The number of groups in use (at least 1).
int groupsInUse(const FieldContext& ctx);

// The lines of one section, starting with its title and closed by a rule; none
// when the model has nothing of the section (an area it lacks, no channels in the
// range).
std::vector<PrintLine> printSectionLines(PrintSection section, FieldContext& ctx,
                                         GroupRange groups);
// The test-mode sheet: its title, the model block, then every alignment item of
// the radio type with the values of its tabs as Tuning Mode shows them (1-256),
// two items to a line.
std::vector<PrintLine> testModeSheetLines(FieldContext& ctx, std::span<const uint8_t> tuningData,
                                          bool mobile, int bandwidth);

// The dashes of a separator line and of an empty model-block value.
inline constexpr std::string_view kPrintSeparator = "-----------";
inline constexpr std::string_view kPrintEmptyValue = "---------------------------------";
// What stands for a code that no window shows (the trunking access code).
inline constexpr std::string_view kPrintMaskedValue = "*****";

} // namespace vrl
