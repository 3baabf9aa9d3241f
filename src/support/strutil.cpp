#include "support/strutil.h"

#include "support/pathsep.h"
#include "support/trace.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

// Index just after the last separator; a separator only at index 0 does not split.
std::size_t splitPoint(const char* src) {
    std::size_t len = std::strlen(src);
    for (std::size_t i = len; i > 0; --i) {
        if (src[i - 1] == kPathSeparator) {
            return i - 1 > 0 ? i : 0;
        }
    }
    return 0;
}

void boundedCopy(char* dest, const char* src, std::size_t count, std::size_t capacity) {
    if (capacity == 0) {
        return;
    }
    if (count > capacity - 1) {
        count = capacity - 1;
    }
    std::memcpy(dest, src, count);
    dest[count] = '\0';
}

} // namespace

void parseFileName(char* dest, const char* src, std::size_t capacity) {
    trace("parseFileName", "");
    if (dest == nullptr || src == nullptr) {
        throw "parseFileName: null string";
    }
    std::size_t from = splitPoint(src);
    boundedCopy(dest, src + from, std::strlen(src) - from, capacity);
}

void parseFilePath(char* dest, const char* src, std::size_t capacity) {
    trace("parseFilePath", "");
    if (dest == nullptr || src == nullptr) {
        return;
    }
    boundedCopy(dest, src, splitPoint(src), capacity);
}

void parseCallsign(char* dest, const char* src, std::size_t capacity) {
    trace("parseCallsign", "");
    if (dest == nullptr || src == nullptr || capacity == 0) {
        return;
    }
    bool tilde = false;
    std::size_t out = 0;
    for (const char* p = src; *p != '\0'; ++p) {
        if (*p == '~') {
            tilde = true;
        } else if (tilde && *p >= '0' && *p <= '9') {
            tilde = false;
        } else if (out + 1 < capacity) {
            dest[out++] = *p;
        }
    }
    dest[out] = '\0';
}

void truncFileName(char* text) {
    trace("truncFileName", "");
    if (text == nullptr) {
        return;
    }
    std::size_t len = std::strlen(text);
    if (len <= 4) {
        return;
    }
    std::string tail(text + len - 4);
#ifdef _WIN32
    // Windows names ignore case: "Ace.SAV" is the file "Ace.sav", and its label is "Ace".
    for (char& c : tail) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
#endif
    if (tail == ".sav" || tail == ".dvw") {
        text[len - 4] = '\0';
    }
}

std::unique_ptr<char[]> initStr(std::size_t capacity, const char* init) {
    trace("initStr", "");
    auto buffer = std::make_unique_for_overwrite<char[]>(capacity == 0 ? 1 : capacity);
    boundedCopy(buffer.get(), init ? init : "", init ? std::strlen(init) : 0,
                capacity == 0 ? 1 : capacity);
    return buffer;
}

std::unique_ptr<char[]> initCleanStr(std::size_t capacity, const char* init) {
    trace("initCleanStr", "");
    auto buffer = std::make_unique<char[]>(capacity == 0 ? 1 : capacity);
    boundedCopy(buffer.get(), init ? init : "", init ? std::strlen(init) : 0,
                capacity == 0 ? 1 : capacity);
    return buffer;
}

void strAppend(char* dest, const char* src, int capacity) {
    trace("strAppend", "");
    if (dest == nullptr || src == nullptr || capacity <= 0) {
        return;
    }
    int n = 0;
    while (n < capacity && dest[n] != '\0') {
        ++n;
    }
    for (const char* p = src; *p != '\0' && n < capacity; ++p) {
        dest[n++] = *p;
    }
    if (n < capacity) {
        dest[n] = '\0';
    } else {
        dest[0] = '\0';
    }
}

void strFullCopy(char* dest, const char* src, int count) {
    trace("strFullCopy", "");
    if (count > 0) {
        std::memcpy(dest, src, static_cast<std::size_t>(count));
    }
}

void strClear(char* dest, int count) {
    trace("strClear", "");
    if (count > 0) {
        std::memset(dest, 0, static_cast<std::size_t>(count));
    }
}

const char* getMonth(int month) {
    trace("getMonth", "");
    static const char* const names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return month >= 1 && month <= 12 ? names[month - 1] : "";
}

std::string joinPath(const char* folder, const char* name) {
    char path[kPathCapacity] = "";
    strAppend(path, folder, static_cast<int>(kPathCapacity));
    strAppend(path, name, static_cast<int>(kPathCapacity));
    return path;
}

std::uint64_t stableHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    return hash;
}
