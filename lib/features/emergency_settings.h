// Emergency signalling: three DTMF codes and two recognition options.
//
//   0x7280  emergency code         6-byte code record
//   0x7286  emergency ack code     6-byte code record
//   0x728C  emergency reset code   6-byte code record
//   0x0091  bit 0 emergency mode recognition, bit 1 emergency ack recognition (1 = on)
//
// Code record: bytes 0..4 hold up to 10 digits, two per byte, the first of a pair in
// the low nibble; nibbles after the last digit are 0xF. Byte 5 is the number of
// digits, 0xFF for no code. Digit codes: '0'..'9' = 0..9, 'A'..'D' = 10..13,
// '*' = 14, '#' = 15.
#pragma once

#include "model/data_image.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vrl {

class EmergencySettings {
  public:
    enum class Code { Emergency, Ack, Reset };
    static constexpr size_t kFirstCode = 0x7280;
    static constexpr size_t kCodeRecordSize = 6;
    static constexpr size_t kDigitBytes = 5;
    static constexpr int kMaxDigits = 10;
    static constexpr size_t kRecognition = 0x0091;
    static constexpr int kModeRecognitionBit = 0;
    static constexpr int kAckRecognitionBit = 1;
    // The characters a code may hold (lower-case a-d are taken as capitals).
    static constexpr const char* kCodeCharacters = "1234567890ABCDabcd#*";

    explicit EmergencySettings(CDataImage& image) : image_(image) {}

    static size_t offsetOf(Code code) {
        return kFirstCode + static_cast<size_t>(code) * kCodeRecordSize;
    }

    // The stored digits; empty when the count byte is 0xFF or above 10.
    std::string codeText(Code code) const;
    // Stores the code (at most 10 characters are kept; a character outside the
    // digit table is stored as 0xF, read back as '#'; lower-case a-d as capitals). An empty
    // text clears the record to 0xFF. Returns the text as it now reads back.
    std::string setCodeText(Code code, std::string_view text);

    bool modeRecognition() const { return image_.bit(kRecognition, kModeRecognitionBit); }
    void setModeRecognition(bool on) { image_.setBit(kRecognition, kModeRecognitionBit, on); }
    bool ackRecognition() const { return image_.bit(kRecognition, kAckRecognitionBit); }
    void setAckRecognition(bool on) { image_.setBit(kRecognition, kAckRecognitionBit, on); }

  private:
    CDataImage& image_;
};

} // namespace vrl
