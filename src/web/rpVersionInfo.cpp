#include "rpVersionInfo.h"

#include "web/VersionInfoData.h"

#include <cstdio>

namespace nb {

namespace {

// Spelled as the type names; the reader drops the prefix.
constexpr std::array<const char*, kVersionTypeCount> kTypeNames{
    "vtCompanyName",    "vtFileDescription", "vtFileVersion",  "vtInternalName",
    "vtLegalCopyright", "vtLegalTradeMark",  "vtOriginalFileName", "vtProductName",
    "vtProductVersion", "vtComments"};

} // namespace

size_t TVersionResource::Size() const {
    size_t size = Translations.size() * sizeof(TTranslation);
    for (const TString& s : Strings) size += s.Table.size() + s.Name.size() + s.Value.size() + 3;
    return size;
}

const std::string* TVersionResource::Query(const std::string& table, const std::string& name) const {
    for (const TString& s : Strings)
        if (s.Table == table && s.Name == name) return &s.Value;
    return nullptr;
}

const TVersionResource& ProgramVersionResource() {
    static const TVersionResource resource = [] {
        TVersionResource r;
        r.Translations.push_back({0x0419, 1251});
        const std::string table = TranslationKey(r.Translations.front());
        // The names the records use are the standard ones.
        for (auto [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
                 {"CompanyName", "Numbrelia"},
                 {"FileDescription", "Numbrelia — запоминание чисел"},
                 {"FileVersion", NUMBRELIA_FILE_VERSION},
                 {"InternalName", "numbrelia"},
                 {"LegalCopyright", "© Авторы Numbrelia"},
                 {"LegalTrademarks", ""},
                 {"OriginalFilename", "numbrelia"},
                 {"ProductName", "Numbrelia"},
                 {"ProductVersion", NUMBRELIA_PRODUCT_VERSION},
                 {"Comments", ""}})
            r.Strings.push_back({table, name, value});
        return r;
    }();
    return resource;
}

std::string TranslationKey(const TVersionResource::TTranslation& t) {
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", t.Language, t.CodePage);
    return key;
}

TrpVersionInfo::TrpVersionInfo() : TrpVersionInfo(ProgramVersionResource()) {}

TrpVersionInfo::TrpVersionInfo(const TVersionResource& resource) {
    if (resource.Size() == 0) return;
    if (!resource.Translations.empty()) key_ = TranslationKey(resource.Translations.front());
    for (int t = 0; t < kVersionTypeCount; ++t) {
        const auto type = static_cast<TVersionType>(t);
        if (const std::string* value = resource.Query(key_, Name(type))) values_[type] = *value;
    }
}

const char* TrpVersionInfo::Name(TVersionType type) { return kTypeNames[type] + 2; }

} // namespace nb
