#include "features/embedded_message.h"
#include "features/field_areas.h"

#include <array>
#include <stdexcept>

namespace vrl {

void EmbeddedMessage::checkLine(int line) {
    if (line < 0 || line >= kLineCount) throw std::out_of_range("embedded message line");
}

std::string EmbeddedMessage::line(int line) const {
    checkLine(line);
    const size_t base = lineOffset(line);
    std::string out;
    for (size_t i = 0; i < kLineLength; ++i) {
        const uint8_t b = image_.u8(base + i);
        if (b == 0xFF || b == 0x00) break;
        out.push_back(static_cast<char>(b));
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string EmbeddedMessage::setLine(int line, std::string_view text) {
    checkLine(line);
    std::array<uint8_t, kLineLength> buf;
    buf.fill(' ');
    bool anyText = false;
    for (size_t i = 0; i < kLineLength && i < text.size(); ++i) {
        const auto c = static_cast<uint8_t>(text[i]);
        buf[i] = (c >= 0x20 && c <= 0x7E) ? c : uint8_t(' ');
        anyText = anyText || buf[i] != ' ';
    }
    if (!anyText) buf.fill(0xFF);
    const size_t base = lineOffset(line);
    for (size_t i = 0; i < kLineLength; ++i) image_.setU8(base + i, buf[i]);
    return this->line(line);
}

} // namespace vrl

// ---- field table -------------------------------------------------------------

namespace vrl {

FieldArea embeddedMessageArea() {
    FieldArea area;
    area.name = "message";
    area.titleText = 476;
    area.build = [](const FieldContext&) {
        FieldTable table;
        const int ids[EmbeddedMessage::kLineCount] = {1404, 1405};
        for (int line = 0; line < EmbeddedMessage::kLineCount; ++line) {
            Field f;
            f.label = "Line " + std::to_string(line + 1);
            f.key = fieldKey("message", f.label);
            f.kind = FieldKind::Edit;
            f.controlId = ids[line];
            f.maxLength = static_cast<int>(EmbeddedMessage::kLineLength);
            f.text = [line](const FieldContext& c) { return EmbeddedMessage(c.image()).line(line); };
            f.setText = [line](FieldContext& c, const std::string& t) {
                EmbeddedMessage(c.image()).setLine(line, t);
            };
            table.push_back(std::move(f));
        }
        return table;
    };
    return area;
}

} // namespace vrl
