// Line files: any bytes load; the text written back reads as the same items, sorted or not.
#include "FuzzUtil.h"

#include "dictionary/StringListUnit.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    nb::TStringList plain;
    plain.SetText(text);
    nb::TStringList again;
    again.SetText(plain.Text());
    NB_CHECK(again.Strings() == plain.Strings());

    nb::TStringList sorted(nb::TStringList::Kind::Sorted);
    sorted.SetText(text);
    NB_CHECK(sorted.Count() <= plain.Count());
    for (size_t i = 0; i < sorted.Count(); ++i) NB_CHECK(sorted.IndexOf(sorted[i]) == static_cast<long>(i));
    nb::TStringList resorted(nb::TStringList::Kind::Sorted);
    resorted.SetText(sorted.Text());
    NB_CHECK(resorted.Strings() == sorted.Strings());
    return 0;
}
