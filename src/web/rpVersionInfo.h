// The program's version information: records compiled into the program (a translation
// table of language and code page, and one string table per translation) and the reader
// the About window takes its version line from.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace nb {

enum TVersionType {
    vtCompanyName,
    vtFileDescription,
    vtFileVersion,
    vtInternalName,
    vtLegalCopyright,
    vtLegalTradeMark,
    vtOriginalFileName,
    vtProductName,
    vtProductVersion,
    vtComments,
};
inline constexpr int kVersionTypeCount = vtComments + 1;

// Version records as a program file carries them.
struct TVersionResource {
    struct TTranslation {
        uint16_t Language;
        uint16_t CodePage;
    };
    struct TString {
        std::string Table; // the translation key of its string table, e.g. "041904E3"
        std::string Name;
        std::string Value; // UTF-8
    };
    std::vector<TTranslation> Translations;
    std::vector<TString> Strings;

    // The size of the records; 0 for a program without version information.
    size_t Size() const;
    // The value under "\StringFileInfo\<table>\<name>", or null. Names match exactly.
    const std::string* Query(const std::string& table, const std::string& name) const;
};

// This program's own records: Russian with code page 1251 (key 041904E3), the file version
// and product version of the build.
const TVersionResource& ProgramVersionResource();

// "041904E3" for Russian (0x0419) with code page 1251 (0x04E3).
std::string TranslationKey(const TVersionResource::TTranslation& t);

// Reads the ten strings on creation, from the program's records or from the given ones.
// Each is looked up by its type's name without the "vt" prefix under the first
// translation's table; a name the records spell otherwise ("LegalTrademarks",
// "OriginalFilename") is not found and stays empty, as does everything when the records
// are missing.
class TrpVersionInfo {
public:
    TrpVersionInfo();
    explicit TrpVersionInfo(const TVersionResource& resource);

    const std::string& Get(TVersionType type) const { return values_[type]; }
    const std::string& Key() const { return key_; }

    const std::string& CompanyName() const { return Get(vtCompanyName); }
    const std::string& FileDescription() const { return Get(vtFileDescription); }
    const std::string& FileVersion() const { return Get(vtFileVersion); }
    const std::string& InternalName() const { return Get(vtInternalName); }
    const std::string& LegalCopyright() const { return Get(vtLegalCopyright); }
    const std::string& LegalTradeMark() const { return Get(vtLegalTradeMark); }
    const std::string& OriginalFileName() const { return Get(vtOriginalFileName); }
    const std::string& ProductName() const { return Get(vtProductName); }
    const std::string& ProductVersion() const { return Get(vtProductVersion); }
    const std::string& Comments() const { return Get(vtComments); }

    // "CompanyName" for vtCompanyName, and so on.
    static const char* Name(TVersionType type);

private:
    std::string key_;
    std::array<std::string, kVersionTypeCount> values_;
};

} // namespace nb
