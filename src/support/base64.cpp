#include "support/base64.h"

std::string base64Encode(std::string_view bytes, std::size_t lineLength, std::string_view lineEnd) {
    constexpr const char* kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::size_t left = bytes.size() - i;
        unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
        if (left > 1) {
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        }
        if (left > 2) {
            group |= static_cast<unsigned char>(bytes[i + 2]);
        }
        text += kAlphabet[(group >> 18) & 0x3F];
        text += kAlphabet[(group >> 12) & 0x3F];
        text += left > 1 ? kAlphabet[(group >> 6) & 0x3F] : '=';
        text += left > 2 ? kAlphabet[group & 0x3F] : '=';
    }
    if (lineLength == 0) {
        return text;
    }
    std::string lines;
    lines.reserve(text.size() + (text.size() / lineLength + 1) * lineEnd.size());
    for (std::size_t i = 0; i < text.size(); i += lineLength) {
        lines.append(text, i, lineLength);
        lines += lineEnd;
    }
    return lines;
}
