// Documents of a model row for the settings-area tests, with language texts
// "T<index>", and assignments through the field table as `vrl73m-cli set` does.
#pragma once

#include "features/field_table.h"
#include "model/model_table.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

#include <string>

namespace vrl::field_test {

struct Doc {
    RadioData data;
    FieldContext ctx{data, [](int i) { return "T" + std::to_string(i); }};
    explicit Doc(int row, OptionBoard board = OptionBoard::None) {
        newDataFor(data, identityOfChoice(ModelChoice{row, 0, board, 1}));
        data.model.refresh();
    }
    CDataImage& image() { return data.image; }

    // The field of `key`; a failed expectation when the model has none.
    Field field(const std::string& key) {
        auto f = findField(ctx, key);
        EXPECT_TRUE(f) << key;
        return f ? *f : Field{};
    }
    // Assigns as typed or chosen; returns the shown text, or "refused: why".
    std::string set(const std::string& key, const std::string& value) {
        const auto f = findField(ctx, key);
        if (!f) return "refused: no field " + key;
        const FieldAssignResult r = assignField(*f, ctx, value);
        return r.ok ? r.text : "refused: " + r.error;
    }
    std::string shown(const std::string& key) { return field(key).shownText(ctx); }
};

// Model rows the tests name.
inline constexpr int kMobile8K = 0;      // RM-140A[8CH]:K
inline constexpr int kMobile8M = 3;      // RM-150A[8CH]:M
inline constexpr int kMobile128K = 4;    // RM-160A[128CH]:K
inline constexpr int kMobile128M = 5;    // RM-160A[128CH]:M
inline constexpr int kPortable8K = 15;   // RP-110A[8CH]:K
inline constexpr int kPortable128K = 19; // RP-120A[128CH]:K
inline constexpr int kPortable16M = 23;  // RP-150A[16CH]:M
inline constexpr int kPortable32K = 25;  // RP-130A[32CH]:K

} // namespace vrl::field_test
