#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Fixed capacities of the texts the program passes around, in bytes, terminator included.
inline constexpr std::size_t kPathCapacity = 512;
inline constexpr std::size_t kFileNameCapacity = 128;

// Writes the file-name part of a path (everything after its last separator) into dest,
// at most capacity-1 characters. Throws "parseFileName: null string" on a missing argument.
void parseFileName(char* dest, const char* src, std::size_t capacity = kFileNameCapacity);

// Writes the folder part of a path, separator included, at most capacity-1 characters.
void parseFilePath(char* dest, const char* src, std::size_t capacity = kPathCapacity);

// Copies src without its colour codes (a tilde and the digit that follows it).
void parseCallsign(char* dest, const char* src, std::size_t capacity);

// Cuts a trailing ".sav" or ".dvw" (in any case on Windows) off a name longer than four
// characters.
void truncFileName(char* text);

// A new buffer of the given capacity holding init (cut to fit); initCleanStr zeroes it first.
std::unique_ptr<char[]> initStr(std::size_t capacity, const char* init);
std::unique_ptr<char[]> initCleanStr(std::size_t capacity, const char* init);

// Appends src to dest within capacity; when the result would not fit, dest becomes empty
// rather than cut, so a path or message is never silently shortened.
void strAppend(char* dest, const char* src, int capacity);

// Copies or clears exactly count bytes, terminators and what follows them included.
void strFullCopy(char* dest, const char* src, int count);
void strClear(char* dest, int count);

// A hash of a text that is the same in every run and on every platform (FNV-1a), for names
// two starts of the program must agree on.
std::uint64_t stableHash(std::string_view text);

// "Jan" to "Dec" for 1 to 12, the empty text otherwise.
const char* getMonth(int month);

// folder followed by name, within a path's capacity: the empty text when it would not fit,
// as strAppend decides.
std::string joinPath(const char* folder, const char* name);
