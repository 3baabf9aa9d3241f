#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Windows virtual-key codes the editor reads on every platform.
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyShift = 16;
inline constexpr int kKeyControl = 17;
inline constexpr int kKeyCapsLock = 20;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyEnd = 35;
inline constexpr int kKeyHome = 36;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDelete = 46;
inline constexpr int kKeyDigit0 = 48;
inline constexpr int kKeyDigit9 = 57;
inline constexpr int kKeyA = 65;
inline constexpr int kKeyC = 67;
inline constexpr int kKeyV = 86;
inline constexpr int kKeyX = 88;
inline constexpr int kKeyZ = 90;

// One key and the game character it produces; key 0 ends a table.
struct TKeyEntry {
    std::int32_t key = 0;
    char character = 0;
};

// The two key tables read from "chrtable.dv": keys without Shift and keys with Shift. The keys
// type what the keyboard's layout gives them; the tables say which punctuation the game's font
// shows (editor/fields.h), for the editor and the command line alike.
class TCharTable {
  public:
    static constexpr std::size_t kEntries = 100; // 99 mappings and the terminating entry
    // The longest first line the reader takes; a longer one leaves both tables empty.
    static constexpr std::size_t kHeaderLineLength = 63;
    static constexpr const char* kFileName = "chrtable.dv";
    static constexpr const char* kCharacterHeader = "[character table]";
    static constexpr const char* kShiftHeader = "[shift table]";
    // A key table is a few kilobytes; anything past this is not one.
    static constexpr std::size_t kMaxFileBytes = 1 << 20;

    using Table = std::array<TKeyEntry, kEntries>;

    // Reads a table file. A missing file leaves both tables empty; a malformed one fills
    // what it can and stops where it goes wrong; past the size limit nothing is read. Empty when
    // a table was read, else why not: the file cannot be read, is too long, or yields no key.
    std::string load(const std::string& path);
    // The same from the file's bytes.
    void parse(std::string_view bytes);

    const Table& characterTable() const { return characters; }
    const Table& shiftTable() const { return shifted; }

    // Walks a table up to its end marker; 0 when the key is not there.
    static int lookup(const Table& table, std::int32_t k);

  private:
    Table characters{};
    Table shifted{};
};
