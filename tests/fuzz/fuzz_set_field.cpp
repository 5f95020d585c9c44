// The `set` path: random key=value pairs (keys mostly taken from the model's own
// field list, sometimes made up) applied to the New data of a model chosen by the
// input. A refused assignment leaves the image byte-identical; none touches the
// model identity (bytes 0-6; byte 7 holds flags); an accepted one reports what the
// field then shows.
#include "features/field_table.h"
#include "fuzz_input.h"

#include <algorithm>
#include <memory>

using namespace vrl;

namespace {

bool sameBytes(const CDataImage::Bytes& a, const CDataImage& image) {
    return std::equal(a.begin(), a.end(), image.bytes().begin());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    auto radio = std::make_unique<RadioData>();
    fuzz::newDataOfChoice(*radio, in);
    const ModelIdentity identity = radio->image.identity();
    FieldContext ctx{*radio, fuzz::textSource()};
    std::vector<std::string> keys;
    for (const Field& f : allFields(ctx)) keys.push_back(f.key);
    fuzz::check(!keys.empty(), "a model has no settings");

    auto before = std::make_unique<CDataImage::Bytes>();
    for (int step = 0; step < 16 && !in.empty(); ++step) {
        const uint8_t how = in.byte();
        const std::string key = (how & 7) == 0 ? in.text(40) : keys[static_cast<size_t>(in.below(static_cast<int>(keys.size())))];
        const std::string value = in.text(64);
        std::copy(radio->image.bytes().begin(), radio->image.bytes().end(), before->begin());

        const std::optional<Field> field = findField(ctx, key);
        if (!field) {
            fuzz::check(sameBytes(*before, radio->image), "looking up a key changed the image");
            continue;
        }
        const FieldAssignResult result = assignField(*field, ctx, value);
        if (!result.ok && !sameBytes(*before, radio->image))
            std::fprintf(stderr, "set %s=\"%s\" -> %s\n", key.c_str(), value.c_str(),
                         result.ok ? result.text.c_str() : result.error.c_str());
        // Identity byte 7 holds flags that settings own (the data password's bit).
        fuzz::check(std::equal(identity.bytes.begin(), identity.bytes.begin() + 7,
                               radio->image.identity().bytes.begin()),
                    "a setting changed the model identity");
        if (!result.ok) {
            fuzz::check(!result.error.empty(), "a refused setting gives no reason");
            fuzz::check(sameBytes(*before, radio->image), "a refused setting changed the image");
            continue;
        }
        fuzz::check(result.text == field->shownText(ctx),
                    "an accepted setting reports another text than the field shows");
    }
    return 0;
}
