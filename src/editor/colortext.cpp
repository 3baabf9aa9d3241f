#include "editor/colortext.h"

#include <algorithm>
#include <cstring>

int textLength(std::span<const char> text) {
    const void* end = std::memchr(text.data(), 0, text.size());
    if (end == nullptr) {
        return static_cast<int>(text.size());
    }
    return static_cast<int>(static_cast<const char*>(end) - text.data());
}

bool colorCodeAt(std::span<const char> text, int len, int i) {
    len = std::min(len, static_cast<int>(text.size()));
    return i >= 0 && i + 1 < len && text[static_cast<std::size_t>(i)] == kColorTilde &&
           isColorDigit(text[static_cast<std::size_t>(i) + 1]);
}

bool insertText(std::span<char> text, int& len, int at, std::string_view bytes) {
    const int capacity = static_cast<int>(text.size());
    const int n = static_cast<int>(bytes.size());
    if (n == 0 || len < 0 || at < 0 || at > len || len + n >= capacity) {
        return false;
    }
    char* base = text.data();
    // The bytes from at through the terminator; len + n < capacity keeps them inside.
    std::memmove(base + at + n, base + at, static_cast<std::size_t>(len - at + 1));
    std::memcpy(base + at, bytes.data(), static_cast<std::size_t>(n));
    len += n;
    return true;
}

void removeText(std::span<char> text, int& len, int at, int n, bool zeroToCapacity) {
    const int capacity = static_cast<int>(text.size());
    len = std::clamp(len, 0, capacity - 1);
    at = std::clamp(at, 0, len);
    n = std::clamp(n, 0, len - at);
    char* base = text.data();
    if (n > 0) {
        std::memmove(base + at, base + at + n, static_cast<std::size_t>(len - at - n + 1));
        std::memset(base + len - n + 1, 0, static_cast<std::size_t>(n));
        len -= n;
    }
    if (zeroToCapacity) {
        std::memset(base + len, 0, static_cast<std::size_t>(capacity - len));
    }
}
