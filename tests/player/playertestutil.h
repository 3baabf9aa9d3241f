#pragma once

#include "common/tempdir.h"
#include "player/player.h"
#include "player/savformat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

// A template whose every byte is non-zero and tells its own offset, so a byte taken from
// the wrong place shows.
inline std::string patternBytes(std::size_t size) {
    std::string bytes(size, '\0');
    std::generate(bytes.begin(), bytes.end(), [i = 0u]() mutable { return char(1 + i++ % 251); });
    return bytes;
}

template <std::size_t N> void setField(std::array<char, N>& field, const std::string& text) {
    field.fill('\0');
    std::strncpy(field.data(), text.c_str(), N - 1);
}

inline TDrovakSettingsXfer settingsIn(const TempDir& dir, const std::string& templateName) {
    TDrovakSettingsXfer settings;
    setField(settings.savPath, dir.folder());
    setField(settings.raptorPath, dir.folder());
    setField(settings.templatePath, dir.file(templateName));
    return settings;
}

inline TPlayer filled(const TDrovakSettingsXfer& settings, const char* name) {
    TPlayer p(settings, name);
    setField(p.callsign, "~1ACE~2X");
    setField(p.squadronName, "SQUAD");
    setField(p.squadronPassword, "PW");
    setField(p.ipAddress, "10.0.0.1");
    setField(p.serverName, "SERVER");
    p.side[0] = 2;
    return p;
}

// Every byte of the six fields, each whole, in the order they lie in the file.
inline std::string fieldBytes(const TPlayer& p) {
    auto all = [](const auto&... fields) {
        return (std::string(fields.data(), fields.size()) + ...);
    };
    return all(p.callsign, p.squadronName, p.squadronPassword, p.ipAddress, p.side, p.serverName);
}

// Backups of the game's pilot go under a data folder of the test's own, never the user's.
struct OwnDataFolder {
    TempDir data;
#ifdef _WIN32
    ScopedEnv home{"APPDATA", data.folder().c_str()};
    static constexpr const char* kOwnFolder = "Drovak";
#else
    ScopedEnv home{"XDG_DATA_HOME", data.folder().c_str()};
    static constexpr const char* kOwnFolder = "drovak";
#endif
};

// A folder holding such a template, the settings that name it, and the record a save writes.
class PlayerFolderTest : public ::testing::Test {
  protected:
    OwnDataFolder own;
    TempDir dir;
    std::string tmpl = patternBytes(kSavSize);
    void SetUp() override { dir.write("template.sav", tmpl); }
    TDrovakSettingsXfer settings() const { return settingsIn(dir, "template.sav"); }
    std::string record(const TPlayer& p) const {
        auto bytes = composeSav(p, tmpl);
        return std::string(bytes.data(), bytes.size());
    }
};
