// INI reading on arbitrary files, and a write that must read back whatever was there.
#include "FuzzUtil.h"

#include "core/IniFileUnit.h"
#include "core/SettingsUnit.h"
#include "dictionary/StringListUnit.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = nbfuzz::Parts(data, size, 2);
    const std::string path = nbfuzz::Scratch() + "/settings.ini";
    nbfuzz::WriteFile(path, parts[0]);
    nb::TIniFile ini(path);
    for (const auto& section : ini.ReadSections()) (void)ini.ReadInteger(section, "Name", 0);
    nb::TProgSettings s;
    nb::TLayoutSettings layout;
    nb::LoadSettings(ini, {{"A", "a", {}}}, s, layout);
    NB_CHECK(s.VariantMakeType >= 0 && s.VariantMakeType <= 2);
    NB_CHECK(s.CodeCode == "A" || s.CodeCode == "a");

    // A value without line breaks and outer blanks reads back as written.
    std::string value(parts[1].substr(0, 300));
    for (auto& c : value)
        if (c == '\r' || c == '\n' || c == '\0') c = '_';
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.erase(0, 1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
    // No line of the file is lost by a write, not even after a zero byte.
    const size_t linesBefore = nb::SplitLines(nb::ReadTextFile(path, nb::TNulRule::DropNul)).size();
    ini.WriteString("CacheCRC", "Classic", value);
    NB_CHECK(nb::SplitLines(nb::ReadTextFile(path, nb::TNulRule::DropNul)).size() >= linesBefore);
    NB_CHECK(ini.ReadString("CacheCRC", "Classic", "?") == value);
    ini.WriteInteger(nb::kSettingsSection, "VariantMakeType", 2);
    NB_CHECK(ini.ReadInteger(nb::kSettingsSection, "VariantMakeType", 0) == 2);
    NB_CHECK(ini.ReadString("CacheCRC", "Classic", "?") == value);
    return 0;
}
