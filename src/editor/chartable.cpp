#include "editor/chartable.h"

#include "support/safefile.h"
#include "support/trace.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace {

// Reads the table file's tokens and lines. Every read moves forward or reports the end, so
// no file, however malformed, can keep the reader in one place.
class TTableReader {
  public:
    explicit TTableReader(std::string_view bytes) : text(bytes) {}

    bool atEnd() const { return pos >= text.size(); }
    bool failed() const { return notANumber; }

    // The rest of the current line without its line end (LF or CR LF). A line longer than
    // the longest header is returned whole, so it can match no header and its tail is never
    // taken for a line of its own.
    std::string_view readLine() {
        std::size_t end = text.find('\n', pos);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view line = text.substr(pos, std::min(end, text.size()) - pos);
        pos = next;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return line;
    }

    // A decimal key, 0 at the end of the file. A token that is no number gives 0 as well and
    // stops all further reading.
    std::int32_t readKey() {
        if (notANumber || !skipSeparators()) {
            return 0;
        }
        std::size_t p = pos;
        bool negative = false;
        if (text[p] == '+' || text[p] == '-') {
            negative = text[p] == '-';
            ++p;
        }
        std::int64_t value = 0;
        std::size_t digits = 0;
        while (p < text.size() && text[p] >= '0' && text[p] <= '9') {
            value = value * 10 + (text[p] - '0');
            ++p;
            if (++digits > 10 || value > std::numeric_limits<std::int32_t>::max()) {
                break;
            }
        }
        if (digits == 0 || digits > 10 || value > std::numeric_limits<std::int32_t>::max()) {
            notANumber = true;
            return 0;
        }
        pos = p;
        return static_cast<std::int32_t>(negative ? -value : value);
    }

    // The next byte that is not a separator, 0 at the end of the file.
    char readCharacter() {
        if (notANumber || !skipSeparators()) {
            return 0;
        }
        return text[pos++];
    }

  private:
    // Blanks, tabs, line ends and the other control bytes separate tokens.
    static bool isSeparator(char c) { return static_cast<unsigned char>(c) <= ' '; }

    bool skipSeparators() {
        while (pos < text.size() && isSeparator(text[pos])) {
            ++pos;
        }
        return pos < text.size();
    }

    std::string_view text;
    std::size_t pos = 0;
    bool notANumber = false;
};

// Pairs of key and character up to a lone 0 (or the end of the file). Pairs beyond the
// table's room are read and dropped, so the section's end is still found.
void readTable(TTableReader& reader, TCharTable::Table& table) {
    std::size_t i = 0;
    std::int32_t key = reader.readKey();
    while (key != 0) {
        char character = reader.readCharacter();
        if (i + 1 < table.size()) {
            table[i] = TKeyEntry{key, character};
            ++i;
        }
        key = reader.readKey();
    }
    table[i] = TKeyEntry{};
}

} // namespace

std::string TCharTable::load(const std::string& path) {
    trace("initKeyTable", "");
    // One byte past the limit tells a file that is too long from one that just fits.
    std::string bytes;
    if (!readFilePrefix(path, kMaxFileBytes + 1, bytes)) {
        return std::strerror(errno);
    }
    const bool tooLong = bytes.size() > kMaxFileBytes;
    parse(std::string_view(bytes).substr(0, kMaxFileBytes));
    if (tooLong) {
        return "it is too long for a key table";
    }
    return characters[0].key == 0 ? "it holds no key table" : "";
}

void TCharTable::parse(std::string_view bytes) {
    TTableReader reader(bytes);
    std::string_view line = reader.readLine();
    // A first line longer than 63 characters is no table file's: reading stops there and
    // both tables stay empty, whatever follows.
    if (line.size() > kHeaderLineLength) {
        return;
    }
    if (line == kCharacterHeader) {
        readTable(reader, characters);
    }
    if (reader.failed()) {
        return;
    }
    // After a table this is the rest of the line holding its terminating 0.
    line = reader.readLine();
    while (line.empty() && !reader.atEnd()) {
        line = reader.readLine();
    }
    if (line == kShiftHeader) {
        readTable(reader, shifted);
    }
}

int TCharTable::lookup(const Table& table, std::int32_t k) {
    for (const TKeyEntry& entry : table) {
        if (entry.key == 0) {
            break;
        }
        if (entry.key == k) {
            // Extended characters come out negative; callers store them back as the same byte.
            return static_cast<signed char>(entry.character);
        }
    }
    return 0;
}
