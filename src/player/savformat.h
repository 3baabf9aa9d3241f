#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The game's player file: 440 bytes, of which the program understands six fields. Every
// other byte belongs to the game and is carried over from a template.
inline constexpr std::size_t kSavSize = 440;

struct TSavLayout {
    static constexpr std::size_t callsign = 80;
    static constexpr std::size_t squadronName = 102;
    static constexpr std::size_t squadronPassword = 124;
    static constexpr std::size_t ipAddress = 136;
    static constexpr std::size_t side = 236;
    static constexpr std::size_t serverName = 332;
};

class TPlayer;

// Fills the six fields from a file's bytes. Each text takes one byte less than its buffer,
// so it is terminated whatever the file holds; bytes missing from a short file read as 0.
void readSavFields(const std::string& bytes, TPlayer& player);

// The 440 bytes of the record: the template's bytes with the six fields laid over them. An
// empty IP address keeps the template's. A short template is padded with zeros.
std::array<char, kSavSize> composeSav(const TPlayer& player, const std::string& templateBytes);

// What Save would change of a file beyond the texts the editor shows, one sentence each
// ("ace.sav is 10 bytes, not 440: ..."); empty for a well-formed record. size is the file's
// size, bytes its first kSavSize bytes.
std::vector<std::string> savOddities(const std::string& name, std::uintmax_t size,
                                     const std::string& bytes);
