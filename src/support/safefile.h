#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Replaces the file at path with bytes. They go to a new hidden file in the target's folder
// (.drovak-XXXXXX.tmp), which is flushed to disk and renamed over the target only when every
// byte was written; the folder is then flushed too. A symbolic link is written through to the
// file it finally names (created when missing), and the link stays. The target keeps its mode,
// and its owner where the system allows. A file the user may not write, or one without any
// write bit, is refused. On failure nothing is left behind, the target is as it was (unless
// only the final flush of the folder failed), errno says why and false is returned.
bool replaceFileContents(const std::string& path, std::span<const char> bytes);

// Why a write to path failed (error is errno), in words for the user: the system's text, or
// that the file is read-only, or in use by another program.
std::string writeFailureReason(const std::string& path, int error);

// Removes the temporary files a replacing write left in folder when the program was stopped
// part way; files of any other name are never touched. An empty folder means the current one.
void removeLeftoverTemporaries(const std::string& folder);

// Appends bytes at the end of the file at path (creating it); false when any byte failed.
bool appendFileContents(const std::string& path, std::span<const char> bytes);

// Reads at most maxBytes from the start of a file, and the whole file's size into fileSize when
// given; an interrupted read is taken up again. False, with out empty and errno saying why,
// when it cannot be opened or read to that point, or is a folder.
bool readFilePrefix(const std::string& path, std::size_t maxBytes, std::string& out,
                    std::uint64_t* fileSize = nullptr);

// Reads a whole file, as readFilePrefix does.
bool readWholeFile(const std::string& path, std::string& out);

// The lines of a text (a line ends at a line feed; a carriage return before it is dropped),
// each ended with lineEnd. A last line without its end gets one.
std::string relineText(const std::string& text, const char* lineEnd);
