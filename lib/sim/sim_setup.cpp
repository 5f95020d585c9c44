#include "sim/sim_setup.h"

#include "features/model_predicates.h"
#include "model/new_data.h"

#include <algorithm>

namespace vrl::sim {

namespace {

void takeImage(SimRadio& radio, const CDataImage& image) {
    const auto bytes = image.bytes();
    std::copy_n(bytes.begin(), radio.memory.size(), radio.memory.begin());
    std::copy_n(bytes.begin() + layout::kIdentity, 8, radio.config.identity.begin());
    radio.boardFitted = predicates::hasTrunkingBoard(image);
    std::copy_n(bytes.begin() + layout::kTrunkData, radio.board.data.size(), radio.board.data.begin());
    // An image without board data (all 0xFF) gives the board the New data's text.
    if (std::all_of(radio.board.data.begin(), radio.board.data.end(), [](uint8_t b) { return b == 0xFF; }))
        radio.board.data = defaultBoardData();
}

} // namespace

DataFileStatus loadSimRadio(const std::string& path, SimRadio& radio) {
    CDataImage image;
    const DataFileStatus status = readDataFile(path, image);
    if (status.result == kFileOk) takeImage(radio, image);
    return status;
}

SimRadio newSimRadio(const ModelIdentity& identity) {
    RadioData data;
    newDataFor(data, identity);
    SimRadio radio;
    takeImage(radio, data.image);
    return radio;
}

DataFileStatus saveSimMemory(const std::string& path, const Memory& memory,
                             const board::Data* boardData) {
    std::vector<uint8_t> image(CDataImage::kSize, 0xFF);
    std::copy(memory.begin(), memory.end(), image.begin());
    if (boardData)
        std::copy(boardData->begin(), boardData->end(), image.begin() + layout::kTrunkData);
    return writeDataFile(path, image);
}

} // namespace vrl::sim
