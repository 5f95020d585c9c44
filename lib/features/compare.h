// Compare: what differs between two documents, named the way the windows name
// it. Settings are compared by their field-table key and shown text; channels
// by group and channel number with the CSV column names; keys by their caption;
// and every other differing byte of the image as a range of offsets with both
// byte runs in hex.
#pragma once

#include "channels/text_source.h"
#include "model/radio_data.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vrl {

struct Difference {
    std::string area;  // field area name, "channel", "key" or "memory"
    std::string key;   // field key, "channel.G.C[.Column]", "key.<caption>"; empty for memory
    std::string label; // label in the chosen language; "0x0123-0x0125" for memory
    std::string a;     // shown text (memory: hex byte run), empty when absent on that side
    std::string b;
    size_t offset = 0; // memory: first image offset of the range
    size_t length = 0; // memory: number of bytes

    bool isMemory() const { return area == "memory"; }
};

struct Comparison {
    bool sameModel = true;
    // Lines to show before the differences (different models compared by fields only).
    std::vector<std::string> notes;
    std::vector<Difference> differences;

    bool equal() const { return differences.empty(); }
};

// Compares `a` with `b`. The images are not changed (a scratch copy is used to
// find which bytes the settings cover); the model flags are refreshed.
//
// Bytes left to the "memory" entries: every differing byte outside the channel
// index, group and channel records, scan bits and per-channel code tables
// (all shown as channel and group entries), outside the key bytes, and not
// covered by a setting whose shown text differs. A byte counts as covered when
// changing that byte alone in a copy of either side -- to the other side's value
// or to its own value with the lowest bit flipped -- changes the shown text of a
// setting whose texts differ. Images of different models are compared by
// settings, channels and keys only, behind a leading note.
Comparison compareDocuments(RadioData& a, RadioData& b, const TextSource& texts);

// Makes what a read brought from a radio comparable with a data file: the bytes a
// read does not move -- the trunking-board area beyond the radio's memory, and the
// blocks the radio's directory leaves out -- are taken from `file`, since the radio
// side knows nothing of them. Returns the notes saying so.
std::vector<std::string> takeUnreadFromFile(RadioData& radio, const RadioData& file);

// The bytes as upper-case hex pairs separated by blanks ("0A FF 31").
std::string hexRun(const CDataImage& image, size_t offset, size_t length);

} // namespace vrl
