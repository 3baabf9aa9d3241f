#pragma once

#include <span>
#include <string_view>

// The bounded byte operations every edit of a field's text is made of. A text is a
// zero-terminated run of game character codes in a buffer of fixed capacity (the span's
// size, terminator included). None of them writes outside the span.

inline constexpr char kColorTilde = '~';

inline bool isColorDigit(char c) {
    return c >= '0' && c <= '9';
}

// The text's length; a buffer without a terminator counts as full.
int textLength(std::span<const char> text);

// A colour code ("~" and a digit) starts at index i of a text of length len.
bool colorCodeAt(std::span<const char> text, int len, int i);

// Inserts bytes at index at, moving the rest (terminator included) to the right. Refused,
// changing nothing, unless len + bytes.size() stays below the capacity and at lies in the
// text. len is updated.
bool insertText(std::span<char> text, int& len, int at, std::string_view bytes);

// Removes n bytes at index at (both cut to the text), moving the rest and the terminator to
// the left. The freed bytes at the old end become zero; with zeroToCapacity every byte
// after the new terminator does. len is updated.
void removeText(std::span<char> text, int& len, int at, int n, bool zeroToCapacity = false);

// The colour-code scan: calls visit(index, kind) for each byte of the text in order, where
// kind says whether the byte is a visible character, a tilde, or a code digit.
enum class TByteKind { Visible, Tilde, CodeDigit };

template <typename Visit> void scanColorCodes(std::span<const char> text, int len, Visit visit) {
    bool afterTilde = false;
    for (int i = 0; i < len; ++i) {
        const char c = text[static_cast<std::size_t>(i)];
        if (afterTilde && isColorDigit(c)) {
            afterTilde = false;
            if (!visit(i, TByteKind::CodeDigit)) {
                return;
            }
        } else if (c == kColorTilde) {
            afterTilde = true;
            if (!visit(i, TByteKind::Tilde)) {
                return;
            }
        } else {
            afterTilde = false;
            if (!visit(i, TByteKind::Visible)) {
                return;
            }
        }
    }
}
