#include "sim/sim_setup.h"

#include "model/new_data.h"

#include <algorithm>

namespace vrl::sim {

namespace {

void takeImage(SimRadio& radio, const CDataImage& image) {
    const auto bytes = image.bytes();
    std::copy_n(bytes.begin(), radio.memory.size(), radio.memory.begin());
    std::copy_n(bytes.begin() + layout::kIdentity, 8, radio.config.identity.begin());
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

DataFileStatus saveSimMemory(const std::string& path, const Memory& memory) {
    std::vector<uint8_t> image(CDataImage::kSize, 0xFF);
    std::copy(memory.begin(), memory.end(), image.begin());
    return writeDataFile(path, image);
}

} // namespace vrl::sim
