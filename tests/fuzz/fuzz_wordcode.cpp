// Word coding on arbitrary bytes under an arbitrary table.
#include "FuzzUtil.h"

#include "code/WordCodeUnit.h"

#include <algorithm>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The first byte says how many of the following bytes are (digit, letter) pairs.
    const size_t pairs = std::min<size_t>(data[0] % 16, (size - 1) / 2);
    nb::TLetterRecArr table;
    for (size_t i = 0; i < pairs; ++i)
        table.push_back({data[1 + 2 * i] % 10, static_cast<char>(data[2 + 2 * i])});
    const std::string_view entry(reinterpret_cast<const char*>(data) + 1 + 2 * pairs, size - 1 - 2 * pairs);

    const nb::TWordCoder coder(table);
    const std::string code = coder.WordToCode(entry);
    NB_CHECK(code.find_first_not_of("0123456789") == std::string::npos);
    NB_CHECK(code.size() <= entry.size());
    for (int mode = 0; mode <= 2; ++mode) {
        const auto marks = coder.MarkKeyLetters(entry, static_cast<nb::TGroupingMode>(mode));
        NB_CHECK(marks.size() == entry.size());
        const auto keys = std::count(marks.begin(), marks.end(), true);
        if (mode == 1) NB_CHECK(keys <= 2);
        if (mode == 2) NB_CHECK(keys <= 3);
        for (bool addNull : {false, true}) {
            const std::string group = nb::AdjustCode(code, {static_cast<nb::TGroupingMode>(mode), addNull});
            if (mode) NB_CHECK(group.size() <= static_cast<size_t>(mode + 1));
            if (mode == 0) NB_CHECK(group == code);
        }
    }
    return 0;
}
