// Line files: any bytes load; the text written back reads as the same items, sorted or not;
// from a file, a byte order mark is skipped and zero bytes follow the file's rule.
#include "FuzzUtil.h"

#include "core/TextUnit.h"
#include "dictionary/StringListUnit.h"
#include "dictionary/WordListUnit.h"

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

    // Read from a file: a leading byte order mark is skipped; the dictionary's text ends at
    // a zero byte, a user list drops zero bytes and keeps every line.
    const std::string path = nbfuzz::Scratch() + "/list.lst";
    nbfuzz::WriteFile(path, text);
    auto noBom = [](std::string s) { return s.rfind("\xEF\xBB\xBF", 0) == 0 ? s.substr(3) : s; };
    std::string dropped;
    for (char c : text)
        if (c != '\0') dropped += c;
    nb::TStringList user, expected;
    nb::LoadListIfExists(user, path);
    expected.SetText(noBom(dropped));
    NB_CHECK(user.Strings() == expected.Strings());
    nb::TStringList dic;
    bool converted = nb::LoadDictionary(dic, path);
    const std::string head = noBom(std::string(text.substr(0, text.find('\0'))));
    expected.SetText(converted ? nb::Utf8ToCp1251(head) : head);
    NB_CHECK(dic.Strings() == expected.Strings());
    NB_CHECK(!converted || nb::IsValidUtf8(head));
    return 0;
}
