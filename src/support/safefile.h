#pragma once

#include <cstddef>
#include <span>
#include <string>

// Replaces the file at path with bytes: they go to a new file in the same folder, which is
// flushed to disk and renamed over the target only when every byte was written. On failure
// the temporary file is removed, the target is untouched and false is returned.
bool replaceFileContents(const std::string& path, std::span<const char> bytes);

// Appends bytes at the end of the file at path (creating it); false when any byte failed.
bool appendFileContents(const std::string& path, std::span<const char> bytes);

// Reads at most maxBytes from the start of a file; false when it cannot be opened.
bool readFilePrefix(const std::string& path, std::size_t maxBytes, std::string& out);

// Reads a whole file; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& out);

// The lines of a text (a line ends at a line feed; a carriage return before it is dropped),
// each ended with lineEnd. A last line without its end gets one.
std::string relineText(const std::string& text, const char* lineEnd);
