// The code-dictionary build on arbitrary cache files and checksum records: it either
// raises a file error or ends with consistent lists, and a second build reuses what the
// first one left.
#include "FuzzUtil.h"

#include "core/FileUnit.h"
#include "core/IniFileUnit.h"
#include "dictionary/CodeDictionaryUnit.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = nbfuzz::Parts(data, size, 5);
    const std::string dir = nbfuzz::Scratch() + "/cache-case";
    std::filesystem::remove_all(dir);
    nb::TPaths paths{dir};
    nbfuzz::WriteFile(paths.CacheFile("T", 1), parts[0]);
    nbfuzz::WriteFile(paths.CacheFile("T", 2), parts[1]);
    nbfuzz::WriteFile(paths.CacheFile("T", 3), parts[2]);
    nbfuzz::WriteFile(paths.Settings(), std::string("[CacheCRC]\r\nT=") + std::string(parts[3]) + "\r\n");
    nb::TStringList dic(nb::TStringList::Kind::Sorted);
    dic.SetText(parts[4]);
    nb::TCodeRec table{"T", "", {{0, '\xED'}, {1, '\xE3'}, {2, '\xF2'}, {2, 'a'}, {3, 'b'}}};
    nb::TIniFile ini(paths.Settings());
    nb::TCodeDictionary codes;
    try {
        codes.Build(paths, ini, dic, table, {nb::TGroupingMode::TwoDigits, false}, {});
    } catch (const nb::EError&) {
        return 0; // a settings file that could not be rewritten, say
    }
    for (size_t i = 0; i < codes.WordCodeList().Count(); ++i) {
        const auto index = codes.WordCodeList().Object(i);
        NB_CHECK(index >= 0 && static_cast<size_t>(index) < dic.Count());
    }
    for (const auto& g : codes.GroupCodeList().Strings())
        for (int32_t i : codes.EntriesOfGroup(g)) NB_CHECK(static_cast<size_t>(i) < dic.Count());
    nb::TCodeDictionary again;
    again.Build(paths, ini, dic, table, {nb::TGroupingMode::TwoDigits, false}, {});
    NB_CHECK(again.CacheReused() || !codes.CacheReused());
    NB_CHECK(again.WordCodeList().Strings() == codes.WordCodeList().Strings());
    return 0;
}
