// Code tables from arbitrary files (unsafe identifiers skipped with a warning, a byte order
// mark ignored), and coding with whatever letters they give.
#include "FuzzUtil.h"

#include "code/CodeTableUnit.h"
#include "code/WordCodeUnit.h"
#include "core/IniFileUnit.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = nbfuzz::Parts(data, size, 2);
    const std::string path = nbfuzz::Scratch() + "/Codes.ini";
    nbfuzz::WriteFile(path, parts[0]);
    std::vector<std::string> warnings;
    const auto tables = nb::LoadCodeTables(path, &warnings);
    // Every section is a table or a warning, and no identifier in use can leave Cache/.
    NB_CHECK(tables.size() + warnings.size() ==
             nb::TIniFile(path, nb::TNulRule::StopAtNul).ReadSections().size());
    for (const auto& t : tables) NB_CHECK(nb::UnsafeIdentReason(t.Ident).empty());
    // A byte order mark in front changes nothing.
    if (parts[0].substr(0, 3) != "\xEF\xBB\xBF") {
        nbfuzz::WriteFile(path, "\xEF\xBB\xBF" + std::string(parts[0]));
        const auto withBom = nb::LoadCodeTables(path);
        NB_CHECK(withBom.size() == tables.size());
        for (size_t i = 0; i < tables.size(); ++i) NB_CHECK(withBom[i].Ident == tables[i].Ident);
    }
    for (const auto& t : tables) {
        for (const auto& p : t.Letters) NB_CHECK(p.Digit >= 0 && p.Digit <= 9);
        (void)nb::CodeHintText(t.Letters);
        const std::string code = nb::WordToCode(parts[1], t.Letters);
        NB_CHECK(code.find_first_not_of("0123456789") == std::string::npos);
    }
    // Whatever is stored, the identifier in use names one of the tables.
    if (!tables.empty()) NB_CHECK(nb::FindCodeTable(tables, nb::CheckCodeCode(std::string(parts[1]), tables)) >= 0);
    return 0;
}
