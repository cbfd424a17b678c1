// Code tables from arbitrary files, and coding with whatever letters they give.
#include "FuzzUtil.h"

#include "code/CodeTableUnit.h"
#include "code/WordCodeUnit.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = nbfuzz::Parts(data, size, 2);
    const std::string path = nbfuzz::Scratch() + "/Codes.ini";
    nbfuzz::WriteFile(path, parts[0]);
    const auto tables = nb::LoadCodeTables(path);
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
