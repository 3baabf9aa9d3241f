#include "player/savformat.h"

#include "player/player.h"

#include <algorithm>
#include <cstring>

namespace {

template <std::size_t N>
void readText(const std::string& bytes, std::size_t offset, std::array<char, N>& field) {
    field.fill('\0');
    for (std::size_t i = 0; i + 1 < N && offset + i < bytes.size(); ++i) {
        field[i] = bytes[offset + i];
    }
}

template <std::size_t N>
void writeField(std::array<char, kSavSize>& out, std::size_t offset,
                const std::array<char, N>& field) {
    static_assert(N > 0);
    std::memcpy(out.data() + offset, field.data(), N);
}

} // namespace

void readSavFields(const std::string& bytes, TPlayer& player) {
    readText(bytes, TSavLayout::callsign, player.callsign);
    readText(bytes, TSavLayout::squadronName, player.squadronName);
    readText(bytes, TSavLayout::squadronPassword, player.squadronPassword);
    readText(bytes, TSavLayout::ipAddress, player.ipAddress);
    readText(bytes, TSavLayout::side, player.side);
    readText(bytes, TSavLayout::serverName, player.serverName);
}

std::array<char, kSavSize> composeSav(const TPlayer& player, const std::string& templateBytes) {
    std::array<char, kSavSize> out{};
    std::memcpy(out.data(), templateBytes.data(), std::min(templateBytes.size(), kSavSize));
    writeField(out, TSavLayout::callsign, player.callsign);
    writeField(out, TSavLayout::squadronName, player.squadronName);
    writeField(out, TSavLayout::squadronPassword, player.squadronPassword);
    if (player.ipAddress[0] != '\0') {
        writeField(out, TSavLayout::ipAddress, player.ipAddress);
    }
    writeField(out, TSavLayout::side, player.side);
    out[TSavLayout::side + 1] = '\0';
    writeField(out, TSavLayout::serverName, player.serverName);
    return out;
}

std::vector<std::string> savOddities(const std::string& name, std::uintmax_t size,
                                     const std::string& bytes) {
    std::vector<std::string> said;
    const std::string sizeText = name + " is " + std::to_string(size) + " bytes, not " +
                                 std::to_string(kSavSize) + ": Save writes ";
    if (size < kSavSize) {
        said.push_back(sizeText + "a full " + std::to_string(kSavSize) +
                       "-byte record (the missing bytes from the template; fields past the end "
                       "read as empty)");
    } else if (size > kSavSize) {
        said.push_back(sizeText + "the " + std::to_string(kSavSize) +
                       "-byte record alone (the bytes past it are dropped)");
    }
    struct TText {
        const char* what;
        std::size_t offset;
        std::size_t capacity;
    };
    static constexpr TText kTexts[] = {
        {"callsign", TSavLayout::callsign, kCallsignCapacity},
        {"squadron name", TSavLayout::squadronName, kSquadronNameCapacity},
        {"squadron password", TSavLayout::squadronPassword, kSquadronPasswordCapacity},
        {"IP address", TSavLayout::ipAddress, kIpAddressCapacity},
        {"side", TSavLayout::side, kSideCapacity},
        {"server name", TSavLayout::serverName, kServerNameCapacity},
    };
    for (const TText& text : kTexts) {
        // Bytes past the end of a short file read as the terminator.
        bool ended = false;
        for (std::size_t i = 0; i < text.capacity && !ended; ++i) {
            ended = text.offset + i >= bytes.size() || bytes[text.offset + i] == '\0';
        }
        if (!ended) {
            said.push_back("the " + std::string(text.what) + " has no end within " +
                           std::to_string(text.capacity) + " bytes: Save cuts it to " +
                           std::to_string(text.capacity - 1) +
                           (text.capacity == 2 ? " character" : " characters"));
        }
    }
    return said;
}
