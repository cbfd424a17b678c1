// The code dictionary: every dictionary entry's full code (WordCodeList, in dictionary
// order, the entry's DicList index attached), the distinct full codes (CodeList) and the
// distinct group codes of the current grouping mode (GroupCodeList), plus an index from
// group code to the entries that have it.
//
// Cache files, per code table identifier, in Cache/ (line files, Windows-1251, CR LF):
//   <id>_1.lst  CodeList, sorted
//   <id>_2.lst  the codes of WordCodeList, in its order
//   <id>_3.lst  the DicList indices of WordCodeList, same order, decimal
// They are valid while settings.ini [CacheCRC] <id>=1=c1,2=c2,3=c3,4=c4 matches the
// checksums of DicList's text, CodeList's text and the texts of files 2 and 3.
#pragma once

#include "StringListUnit.h"
#include "code/NumbreliaTypesUnit.h"
#include "code/WordCodeUnit.h"
#include "core/IniFileUnit.h"
#include "core/UtilsUnit.h"

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace nb {

// What the build needs from the window while it runs.
struct TBuildCallbacks {
    // Sets the status line (UTF-8). Called with an unchanged text too; the window skips those.
    std::function<void(const std::string&)> ShowStatus;
    // Lets the window process pending events; called after every entry of a rebuild.
    std::function<void()> ProcessEvents;
    // Opens the help start page; called once, at the first build ever (FirstStart).
    std::function<void()> OpenHelp;
    // Called by the session as a build begins, with the settings and table it builds for
    // in place, so the window can show them meanwhile.
    std::function<void()> Starting;
    // The command-line tool leaves FirstStart (and so the help at the first start) to the
    // desktop program.
    bool HandleFirstStart = true;
};

class TCodeDictionary {
public:
    // Brings the three lists up to date for this dictionary, table and mode: reads
    // FirstStart, then loads the cache when it is valid or rebuilds it (writing the three
    // files and the checksum record), then recomputes the group codes. Throws EError on a
    // cache file that cannot be read or written or a settings file that cannot be written.
    void Build(const TPaths& paths, TIniFile& settings, const TStringList& dicList,
               const TCodeRec& table, TGrouping grouping, const TBuildCallbacks& callbacks);

    // Computes the same lists as Build, from the dictionary alone: no cache file and no
    // settings are read or written.
    void BuildInMemory(const TStringList& dicList, const TWordCoder& coder, TGrouping grouping);

    // Recomputes GroupCodeList and the group index for another mode or zero rule.
    void RecomputeGroups(TGrouping grouping);

    const TStringList& WordCodeList() const { return wordCodeList_; }
    const TStringList& CodeList() const { return codeList_; }
    const TStringList& GroupCodeList() const { return groupCodeList_; }

    // The DicList indices of the entries whose group code is `group`, in dictionary order.
    const std::vector<int32_t>& EntriesOfGroup(const std::string& group) const;

    // Whether the last Build used the cache files as they were.
    bool CacheReused() const { return cacheReused_; }
    void Clear();

private:
    bool LoadValidCache(const TPaths& paths, const TIniFile& settings, const TStringList& dicList,
                        const std::string& ident, const TBuildCallbacks& callbacks);
    void Rebuild(const TPaths& paths, TIniFile& settings, const TStringList& dicList,
                 const TCodeRec& table, const TBuildCallbacks& callbacks);
    // Fills wordCodeList_ and codeList_ with the codes of every entry.
    void ComputeCodes(const TStringList& dicList, const TWordCoder& coder,
                      const TBuildCallbacks& callbacks);

    TStringList wordCodeList_{TStringList::Kind::Plain};
    TStringList codeList_{TStringList::Kind::Sorted};
    TStringList groupCodeList_{TStringList::Kind::Sorted};

    std::unordered_map<std::string, std::vector<int32_t>> groupIndex_;
    bool cacheReused_ = false;
};

// The entries of a word column: `entries` (DicList indices, in dictionary order) as they
// are, or, with `familiarFirst`, in the order of the line where each first stands in the
// dictionary file (the position DicList keeps as the item's object), the file listing the
// most familiar words first. An index outside DicList goes last.
std::vector<int32_t> OrderEntries(std::vector<int32_t> entries, const TStringList& dicList,
                                  bool familiarFirst);

// The checksum record of one table: "1=c1,2=c2,3=c3,4=c4".
std::string ChecksumRecord(const std::string& c1, const std::string& c2, const std::string& c3,
                           const std::string& c4);

} // namespace nb
