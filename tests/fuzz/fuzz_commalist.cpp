// The comma-list reader on arbitrary bytes; what it reads must write and read back alike.
#include "FuzzUtil.h"

#include "dictionary/StringListUnit.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto items = nb::ReadCommaList(text);
    NB_CHECK(nb::ReadCommaList(nb::WriteCommaList(items)) == items);
    nb::TStringList record;
    record.SetCommaText(text);
    (void)record.Value("1");
    record.SetValue("1", "5");
    NB_CHECK(record.Value("1") == "5");
    return 0;
}
