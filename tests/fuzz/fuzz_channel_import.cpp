// The channel CSV import, own and CHIRP layout (told apart by the header as
// readChannelCsv does for the callers), on arbitrary text over the New data of a
// model chosen by the input. The import must never touch the model identity; an
// import that succeeds leaves channels that export in both layouts, and a table
// that imports again without a change.
#include "channels/channel_csv.h"
#include "channels/keys.h"
#include "fuzz_input.h"

#include <algorithm>
#include <memory>

using namespace vrl;

namespace {

std::vector<TableRow> tableRows(const std::vector<TextRow>& rows) {
    std::vector<TableRow> out;
    int line = 2;
    for (const auto& r : rows)
        out.push_back({line++, r});
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    auto radio = std::make_unique<RadioData>();
    fuzz::newDataOfChoice(*radio, in);
    const ModelIdentity identity = radio->image.identity();

    const ChannelCsv csv = readChannelCsv(in.rest());
    if (csv.error) return 0;

    const TextSource texts = fuzz::textSource();
    KeyAssignment keys(*radio, texts);
    ChannelStore store(*radio, texts, &keys);
    // CHIRP rows go into a group picked by the text's length (the groups of New data
    // that exist, and one past them), straight to the row import so that a group the
    // model lacks is tried too.
    const ImportReport report = csv.format == ChannelCsvFormat::Chirp
                                    ? importChirpRows(store, csv.header, csv.rows,
                                                      static_cast<int>(size % 3), csv.headerLine)
                                    : importChannelRows(store, csv.header, csv.rows);
    fuzz::check(radio->image.identity().bytes == identity.bytes,
                "a channel import changed the model identity");
    if (!report.ok()) return 0;

    (void)channelCsvText(store, ChannelCsvFormat::Chirp);
    // What was stored exports to a table that changes nothing when imported again.
    const std::vector<TextRow> exported = exportChannelRows(store);
    const TextRow header(kChannelColumns.begin(), kChannelColumns.end());
    auto before = std::make_unique<CDataImage::Bytes>();
    std::copy(radio->image.bytes().begin(), radio->image.bytes().end(), before->begin());
    const ImportReport again = importChannelRows(store, header, tableRows(exported));
    fuzz::check(again.ok(), "the exported channel table is refused on import");
    fuzz::check(std::equal(before->begin(), before->end(), radio->image.bytes().begin()),
                "importing the exported channel table changed the image");
    return 0;
}
