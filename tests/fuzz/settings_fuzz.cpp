// The drovak.ini reader on any text: the key table, then the settings filled from it. The
// program writes back every key it read, so what it writes must read back as the same table.
#include "settings/settingsfile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    TTokenTable table;
    loadTokens(table, text);
    TDrovakSettingsXfer settings;
    getData(table, settings);

    // The written file has a header line more, which can push the last key past the limit.
    if (table.count() < kSettingsMaxLines) {
        TTokenTable again;
        loadTokens(again, formatTokens(table));
        if (again.entries() != table.entries())
            std::abort();
    }
    return 0;
}
