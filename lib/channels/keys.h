// Programmable keys. Each key's function is one code byte in the image; which keys a
// radio has, and which functions each may take, depend on the model family.
#pragma once

#include "channels/text_source.h"
#include "model/radio_data.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vrl {

// Language texts the key rules ask about.
inline constexpr int kTextKeyNone = 65;
inline constexpr int kTextHomeChannel = 335;
inline constexpr int kTextScan = 346;
inline constexpr int kTextEmergency = 332;
inline constexpr int kTextEmergencyKeyCaption = 320;
inline constexpr int kTextSelectorKeyCaption = 327;
inline constexpr int kTextKeyFunctionHeader = 359;
inline constexpr int kTextKeyWindowTitle = 309;

// The 34 key functions: code byte and the language text naming it.
class KeyFunctionTable {
  public:
    struct Entry {
        uint8_t code;
        int textIndex;
        std::string text;
    };
    static constexpr size_t kSize = 34;

    explicit KeyFunctionTable(TextSource texts);
    // Takes the words again from the language (after a language change).
    void rebuild();

    const std::array<Entry, kSize>& entries() const { return entries_; }
    // Text of a code; empty when no entry has it.
    std::string textOfCode(uint8_t code) const;
    // Code of the first entry whose text equals `text`.
    std::optional<uint8_t> codeOfText(const std::string& text) const;
    static std::optional<int> textIndexOfCode(uint8_t code);

  private:
    TextSource texts_;
    std::array<Entry, kSize> entries_;
};

enum class KeyFamilyKind { PortableSmall, PortableLarge, MobileSmall, MobileLarge };

struct KeyRow {
    int captionText;   // language text of the key's name
    size_t offset;     // image offset of its code byte
};

// What the choice lists depend on besides the family.
struct KeyModelTraits {
    int radioKind = 1;       // market kind 1-6
    int capacity = 8;        // 8, 16, 32 or 128
    int optionBoardText = 65; // 65 none, 168 SCR board, 169 trunking board
};

class KeyFamily {
  public:
    KeyFamily(KeyFamilyKind kind, CDataImage& image, const KeyFunctionTable& table,
              TextSource texts);

    KeyFamilyKind kind() const { return kind_; }
    const std::vector<KeyRow>& rows() const { return rows_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    std::string caption(int row) const;

    // The function text stored for the row's key; empty when its byte matches no code.
    std::string keyText(int row) const;
    // Stores the code whose text equals `text`; false (nothing stored) when none does.
    bool setKeyText(int row, const std::string& text);
    // Whether any key of the family holds the function named `text`. The small
    // portables have none of the functions other windows ask about.
    bool hasFunction(const std::string& text) const;
    // Mobiles: whether the emergency key (caption 320) holds Emergency.
    bool emergencyKeyHoldsEmergency() const;

    // The texts offered for a row, None first.
    std::vector<std::string> choices(int row, const KeyModelTraits& traits) const;

  private:
    std::vector<int> choiceTexts(int row, const KeyModelTraits& traits) const;

    KeyFamilyKind kind_;
    CDataImage& image_;
    const KeyFunctionTable& table_;
    TextSource texts_;
    std::vector<KeyRow> rows_;
};

// The four families and the family of the current model.
class KeyAssignment {
  public:
    KeyAssignment(RadioData& data, TextSource texts);
    KeyAssignment(const KeyAssignment&) = delete;
    KeyAssignment& operator=(const KeyAssignment&) = delete;

    KeyFunctionTable& table() { return table_; }
    KeyFamily& family(KeyFamilyKind kind);
    const KeyFamily& family(KeyFamilyKind kind) const;
    KeyFamilyKind currentKind() const;
    KeyFamily& current() { return family(currentKind()); }
    const KeyFamily& current() const { return family(currentKind()); }
    KeyModelTraits traits() const;
    std::vector<std::string> choices(int row) const { return current().choices(row, traits()); }

    bool homeChannelAssigned() const;
    bool scanAssigned() const;
    bool emergencyAssigned() const;
    // Clears the home-channel reference when no key holds Home Channel; true when
    // something changed.
    bool applyHomeRule();

  private:
    RadioData& data_;
    TextSource texts_;
    KeyFunctionTable table_;
    std::array<KeyFamily, 4> families_;
};

} // namespace vrl
