// Fuzzes the COMTRADE reader: the input as a .cfg, and as a .cff whose configuration then
// drives the reading of its data section. Only ComtradeError may come out.

#include "ComtradeFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    try {
        comtrade::parseConfig(in, "fuzz.cfg");
    } catch (const comtrade::ComtradeError&) {
    }
    try {
        const comtrade::CombinedParts parts = comtrade::splitCombined(in, "fuzz.cff");
        const comtrade::Config c = comtrade::parseConfig(parts.cfg, "fuzz.cff", parts.cfgFirstLine);
        comtrade::parseData(c, parts.data, "fuzz.cff", parts.dataFirstLine, parts.dataOffset);
    } catch (const comtrade::ComtradeError&) {
    }
    return 0;
}
