// The SAV reader on any bytes: straight from memory, and through TPlayer::openFile from a
// file on disk, as the list opens a pilot. A record composed from what was read must read
// back the same, or a save would change fields the user never touched.
#include "player/player.h"
#include "player/savformat.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

const char* const kFileName = "pilot.sav";

// One folder for the whole run, removed at its end; each input replaces the same file in it.
// Kept in a plain array, which outlives the exit handler that removes it.
std::string folder() {
    static char path[] = "/tmp/drovak-fuzz-sav.XXXXXX";
    static const bool made =
        mkdtemp(path) != nullptr && std::atexit([] {
                                        std::remove((std::string(path) + "/" + kFileName).c_str());
                                        std::remove(path);
                                    }) == 0;
    if (!made)
        std::abort();
    return std::string(path) + "/";
}

bool sameFields(const TPlayer& a, const TPlayer& b) {
    return a.callsign == b.callsign && a.squadronName == b.squadronName &&
           a.squadronPassword == b.squadronPassword && a.ipAddress == b.ipAddress &&
           a.side == b.side && a.serverName == b.serverName;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TDrovakSettingsXfer settings;
    std::strncpy(settings.savPath.data(), folder().c_str(), settings.savPath.size() - 1);

    TPlayer fromMemory(settings, kFileName);
    readSavFields(bytes, fromMemory);
    auto record = composeSav(fromMemory, bytes);
    TPlayer readBack(settings, kFileName);
    readSavFields(std::string(record.data(), record.size()), readBack);
    if (!sameFields(fromMemory, readBack))
        std::abort();

    // Removed first: a file truncated and written again is flushed to disk on every close.
    const std::string path = folder() + kFileName;
    std::remove(path.c_str());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
    TPlayer fromFile(settings, kFileName);
    if (fromFile.openFile() != 0 || !sameFields(fromMemory, fromFile))
        std::abort();
    return 0;
}
