#include "CodeTableUnit.h"

#include "core/IniFileUnit.h"
#include "core/TextUnit.h"
#include "dictionary/StringListUnit.h"

namespace nb {

TCodeRecArr LoadCodeTables(const std::string& path) {
    const TIniFile::Content ini = TIniFile(path).Load();
    TCodeRecArr tables;
    for (const auto& section : ini.sections) {
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
