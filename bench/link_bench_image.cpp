// Writes the benchmark's data file: a 128-channel radio with every channel in use
// (8 groups of 16, each channel with its own frequencies, name and codes), so that
// every block the directory can name is moved and most go with data, not as "Z".
#include "channels/channel_store.h"
#include "file/data_file.h"
#include "model/new_data.h"

#include <cstdio>
#include <iostream>

using namespace vrl;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: vrl_link_bench_image FILE\n";
        return 1;
    }
    RadioData data;
    newDataFor(data, models::identityFor(4, 0, OptionBoard::None)); // RM-160A[128CH]:K
    ChannelStore store(data, nullptr);
    int made = 0;
    for (int g = 0; g < 8; ++g) {
        for (int c = 0; c < 16; ++c) {
            char rx[16], tx[16], name[16], id[16];
            std::snprintf(rx, sizeof rx, "%d.%05d", 150 + g, 12500 * c % 100000);
            std::snprintf(tx, sizeof tx, "%d.%05d", 155 + g, 25000 * c % 100000);
            std::snprintf(name, sizeof name, "G%dC%02d", g + 1, c + 1);
            std::snprintf(id, sizeof id, "%03d", g * 16 + c);
            if (store.setText(rx, g, c, ChannelField::Receive) == StoreResult::CannotCreate) break;
            store.setText(tx, g, c, ChannelField::Transmit);
            store.setText(name, g, c, ChannelField::Name);
            store.setText(id, g, c, ChannelField::IdCode);
            store.setText("123A", g, c, ChannelField::BeginOfTx);
            store.setText("456B", g, c, ChannelField::EndOfTx);
            ++made;
        }
    }
    const auto status = writeDataFile(argv[1], data.image);
    if (status.result != kFileOk) {
        std::cerr << status.detail << '\n';
        return 1;
    }
    const auto dir = data.image.directory();
    std::cout << made << " channels; directory [" << dir[0] << "," << dir[1] << "] [" << dir[2]
              << "," << dir[3] << "] [" << dir[4] << "," << dir[5] << "]\n";
    return made == 128 ? 0 : 1;
}
