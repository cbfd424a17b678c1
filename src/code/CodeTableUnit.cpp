#include "CodeTableUnit.h"

#include "core/IniFileUnit.h"
#include "core/TextUnit.h"
#include "dictionary/StringListUnit.h"
#include "resources/ResStrUnit.h"

#include <cstdio>

namespace nb {

std::string UnsafeIdentReason(const std::string& ident) {
    if (ident.empty()) return res::kIdentEmpty;
    if (ident.find_first_of("/\\") != std::string::npos) return res::kIdentSlash;
    if (ident == "." || ident == "..") return res::kIdentDots;
    for (char c : ident)
        if (static_cast<unsigned char>(c) < 32 || c == 127) return res::kIdentControl;
    auto blank = [](char c) { return c == ' ' || c == '\xA0'; }; // 0xA0: no-break space
    if (blank(ident.front()) || blank(ident.back())) return res::kIdentBlank;
    if (ident.find('=') != std::string::npos) return res::kIdentEquals;
    if (ident.front() == '[') return res::kIdentBracket;
    if (ident.size() > kMaxIdentLength) {
        char buf[128];
        std::snprintf(buf, sizeof buf, res::kIdentTooLong, static_cast<int>(kMaxIdentLength));
        return buf;
    }
    return {};
}

std::string UnsafeTableMessage(const std::string& ident, const std::string& codesPath) {
    const std::string reason = UnsafeIdentReason(ident);
    if (reason.empty()) return {};
    std::string shown = ident.substr(0, 80);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
    char buf[1024];
    std::snprintf(buf, sizeof buf, res::kTableSkipped, Cp1251ToUtf8(shown).c_str(),
                  codesPath.c_str(), reason.c_str());
    return buf;
}

TCodeRecArr LoadCodeTables(const std::string& path, std::vector<std::string>* warnings) {
    const TIniFile::Content ini = TIniFile(path, TNulRule::StopAtNul).Load();
    TCodeRecArr tables;
    for (const auto& section : ini.sections) {
        // Such a name would put cache files elsewhere or break the settings file.
        if (std::string message = UnsafeTableMessage(section, path); !message.empty()) {
            if (warnings) warnings->push_back(std::move(message));
            continue;
        }
        TCodeRec rec;
        rec.Ident = section;
        ini.Find(section, "Name", rec.Name);
        for (int d = 0; d <= 9; ++d) {
            std::string value;
            if (!ini.Find(section, std::to_string(d), value)) continue;
            for (const auto& item : ReadCommaList(value)) {
                if (item.empty()) continue;
                rec.Letters.push_back(
                    {d, static_cast<char>(LowerCp1251(static_cast<unsigned char>(item[0])))});
            }
        }
        tables.push_back(std::move(rec));
    }
    return tables;
}

long FindCodeTable(const TCodeRecArr& tables, const std::string& codeCode) {
    for (size_t i = 0; i < tables.size(); ++i)
        if (SameTextCp1251(tables[i].Ident, codeCode)) return static_cast<long>(i);
    return -1;
}

std::string CheckCodeCode(const std::string& codeCode, const TCodeRecArr& tables) {
    if (FindCodeTable(tables, codeCode) >= 0) return codeCode;
    return tables.empty() ? std::string() : tables.front().Ident;
}

TCodeRec SelectCodeTable(const TCodeRecArr& tables, const std::string& codeCode) {
    const long i = FindCodeTable(tables, codeCode);
    return i >= 0 ? tables[static_cast<size_t>(i)] : TCodeRec{};
}

} // namespace nb
