#include "CollationUnit.h"

#include "core/FileUnit.h"
#include "core/TextUnit.h"

#include <memory>
#include <unicode/ucol.h>
#include <vector>

namespace nb {
namespace {

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};

UCollator* Collator() {
    static const std::unique_ptr<UCollator, CollatorCloser> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("ru", &status);
        if (U_FAILURE(status) || !c) throw EError("The Russian collation of ICU is not available.");
        ucol_setStrength(c, UCOL_SECONDARY);
        return std::unique_ptr<UCollator, CollatorCloser>(c);
    }();
    return collator.get();
}

} // namespace

std::string CollationKey(std::string_view text) {
    const std::u16string u = Cp1251ToUtf16(text);
    const auto* src = reinterpret_cast<const UChar*>(u.data());
    const auto len = static_cast<int32_t>(u.size());
    std::string key(u.size() * 2 + 16, '\0');
    int32_t need = ucol_getSortKey(Collator(), src, len, reinterpret_cast<uint8_t*>(key.data()),
                                   static_cast<int32_t>(key.size()));
    if (need > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<size_t>(need));
        need = ucol_getSortKey(Collator(), src, len, reinterpret_cast<uint8_t*>(key.data()), need);
    }
    // The key ends with a zero byte, which adds nothing to the order.
    key.resize(need > 0 ? static_cast<size_t>(need - 1) : 0);
    return key;
}

int CompareText(std::string_view a, std::string_view b) {
    const std::u16string ua = Cp1251ToUtf16(a);
    const std::u16string ub = Cp1251ToUtf16(b);
    const UCollationResult r =
        ucol_strcoll(Collator(), reinterpret_cast<const UChar*>(ua.data()),
                     static_cast<int32_t>(ua.size()), reinterpret_cast<const UChar*>(ub.data()),
                     static_cast<int32_t>(ub.size()));
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

} // namespace nb
