// The memory map editor's commits: random cells and editor texts. A commit touches
// at most the one byte of its cell, reports what it stored, and leaves everything
// else byte-identical; a refused commit writes nothing.
#include "features/memory_map.h"
#include "fuzz_input.h"

#include <memory>

using namespace vrl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    auto radio = std::make_unique<RadioData>();
    fuzz::newDataOfChoice(*radio, in);
    CDataImage& image = radio->image;
    auto before = std::make_unique<CDataImage::Bytes>();

    for (int step = 0; step < 32 && !in.empty(); ++step) {
        // Rows and columns a little beyond the grid on every side.
        const int row = in.below(memmap::kRows + 4) - 2;
        const int column = in.below(memmap::kColumns + 4) - 2;
        const std::string text = in.text(6);
        std::copy(image.bytes().begin(), image.bytes().end(), before->begin());

        const std::optional<size_t> offset = memmap::offsetOf(row, column);
        const std::optional<uint8_t> stored = memmap::commit(image, row, column, text);
        for (size_t i = 0; i < CDataImage::kSize; ++i) {
            if (offset && i == *offset) continue;
            if (image.bytes()[i] != (*before)[i]) fuzz::fail("a commit changed a byte outside its cell");
        }
        if (!stored) {
            fuzz::check(!offset || image.bytes()[*offset] == (*before)[*offset],
                        "a refused commit changed its byte");
            continue;
        }
        fuzz::check(offset.has_value(), "a commit stored a byte for a cell that has none");
        fuzz::check(*offset < memmap::kLines * 16u, "a commit reached beyond the radio memory");
        fuzz::check(image.bytes()[*offset] == *stored, "a commit reports another byte than it stored");
        if (memmap::cellKind(column) == memmap::CellKind::Hex)
            fuzz::check(memmap::parseHex(memmap::cellText(image, row, column)) == *stored,
                        "a hex cell does not show the byte it stored");
    }
    return 0;
}
