#pragma once

#include <array>
#include <cstddef>
#include <string>

inline constexpr std::size_t kSettingsPathCapacity = 512;
inline constexpr std::size_t kLastLoadedFileCapacity = 128;
inline constexpr std::size_t kListSortMethodCapacity = 3;
// The longest mail address has 254 characters.
inline constexpr std::size_t kContactAddressCapacity = 256;

// The program's settings as every window receives them: three folders and files, the last
// file loaded into the game, seven one-byte switches, and where reports are mailed.
struct TDrovakSettingsXfer {
    std::array<char, kSettingsPathCapacity>
        raptorPath{}; // the game's folder, ends with a separator
    std::array<char, kSettingsPathCapacity> templatePath{}; // the SAV file new files are made from
    std::array<char, kSettingsPathCapacity>
        savPath{}; // the folder of SAV files, ends with a separator
    std::array<char, kLastLoadedFileCapacity> lastLoadedFile{};
    std::array<char, kListSortMethodCapacity> listSortMethod{};
    char showColorChars = 0;
    char savPathEqRaptorPath = 0;
    char showSplashScreen = 0;
    char soundOn = 0;
    char templateFileEqRaptorSav = 0;
    char firstRun = 0;
    char debug = 0;
    // Empty unless the user sets one: the program ships with nobody's address.
    std::array<char, kContactAddressCapacity> contactAddress{};

    TDrovakSettingsXfer() = default;
    TDrovakSettingsXfer(const TDrovakSettingsXfer&) = default;
    // Assignment keeps the receiver's lastLoadedFile and only the first character of the
    // sort code: the dialogs hand settings back this way without touching what they lack.
    TDrovakSettingsXfer& operator=(const TDrovakSettingsXfer& other);
};

// The game's player file inside the game folder, which is also the default template.
inline constexpr const char* kRaptorSavName = "raptor.sav";

// The name the game's player file has in the game folder, whose case the game under Wine may
// have changed: raptor.sav when there is none, or when the folder text lacks its separator
// (it then only begins a file name).
std::string raptorSavName(const char* folder);
