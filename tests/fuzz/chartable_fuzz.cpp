// The chrtable.dv reader on any bytes (load() reads the file and hands its bytes to parse()),
// then every key looked up in both tables.
#include "editor/chartable.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TCharTable table;
    table.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    for (std::int32_t key = 0; key < 256; ++key) {
        TCharTable::lookup(table.characterTable(), key);
        TCharTable::lookup(table.shiftTable(), key);
    }
    return 0;
}
