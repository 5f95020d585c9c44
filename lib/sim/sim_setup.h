// Where a simulated radio's memory comes from and goes to: a data file, or the New
// data of a model variant.
#pragma once

#include "file/data_file.h"
#include "sim/board_sim.h"
#include "sim/radio_sim.h"

#include <string>

namespace vrl::sim {

struct SimRadio {
    SimConfig config;
    Memory memory{};
    // The trunking board: fitted when the identity names it (or the simulator is
    // told to fit one); its data come from the image or are the New data's.
    bool boardFitted = false;
    BoardConfig board;
};

// The radio whose memory is the image of a data file; its identity is the file's.
DataFileStatus loadSimRadio(const std::string& path, SimRadio& radio);

// A radio holding the New data of a model variant.
SimRadio newSimRadio(const ModelIdentity& identity);

// Saves the memory as a data file; the trunking-board part holds `boardData`
// when given, else it is left empty.
DataFileStatus saveSimMemory(const std::string& path, const Memory& memory,
                             const board::Data* boardData = nullptr);

} // namespace vrl::sim
