#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The game's 8-bit codes are Windows-1252. Every place that meets Unicode (the clipboard, the
// keyboard, the command line, dialogs) converts through here.
//
// Bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls
// of the same value, as Windows converts them, so every byte survives a round trip.

// The character a byte shows.
char32_t unicodeFromCp1252(unsigned char byte);
// The byte of a character; nothing when Windows-1252 cannot hold it (a C1 control that it maps
// to another character, such as U+0080, is not that byte either).
std::optional<unsigned char> cp1252FromUnicode(char32_t c);

// UTF-8: one character appended, and the next one read at pos (which moves past it); nothing
// for a malformed, overlong or surrogate sequence, and pos then moves one byte on.
void appendUtf8(std::string& out, char32_t c);
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& pos);

// Whole texts. A character Windows-1252 cannot hold, or bytes that are not UTF-8, become '?'.
std::string utf8FromCp1252(std::string_view bytes);
std::string cp1252FromUtf8(std::string_view utf8);
