#include "CodeDictionaryUnit.h"

#include "CRC32.h"
#include "code/CodeTableUnit.h"
#include "code/WordCodeUnit.h"
#include "core/FileUnit.h"
#include "core/SettingsUnit.h"
#include "core/TextUnit.h"
#include "resources/ResStrUnit.h"

#include <algorithm>
#include <cstdio>

namespace nb {
namespace {

std::string Format(const char* format, const std::string& arg) {
    std::string out;
    const std::string_view f(format);
    const auto at = f.find("%s");
    out.append(f.substr(0, at));
    out += arg;
    out.append(f.substr(at + 2));
    return out;
}

std::string FormatPercent(int percent) {
    char buf[256];
    std::snprintf(buf, sizeof buf, res::kBuildingCodeDictionary, percent);
    return buf;
}

void Status(const TBuildCallbacks& cb, const std::string& text) {
    if (cb.ShowStatus) cb.ShowStatus(text);
}

const std::vector<int32_t> kNoEntries;

} // namespace

std::vector<int32_t> OrderEntries(std::vector<int32_t> entries, const TStringList& dicList,
                                  bool familiarFirst) {
    if (!familiarFirst) return entries;
    const auto line = [&](int32_t entry) -> int64_t {
        if (entry < 0 || static_cast<size_t>(entry) >= dicList.Count()) return INT64_MAX;
        return dicList.Object(static_cast<size_t>(entry));
    };
    std::stable_sort(entries.begin(), entries.end(),
                     [&](int32_t a, int32_t b) { return line(a) < line(b); });
    return entries;
}

std::string ChecksumRecord(const std::string& c1, const std::string& c2, const std::string& c3,
                           const std::string& c4) {
    return WriteCommaList({"1=" + c1, "2=" + c2, "3=" + c3, "4=" + c4});
}

void TCodeDictionary::Clear() {
    wordCodeList_.Clear();
    codeList_.Clear();
    groupCodeList_.Clear();
    groupIndex_.clear();
    cacheReused_ = false;
}

void TCodeDictionary::Build(const TPaths& paths, TIniFile& settings, const TStringList& dicList,
                            const TCodeRec& table, TGrouping grouping,
                            const TBuildCallbacks& callbacks) {
    if (callbacks.HandleFirstStart && settings.ReadBool(kSettingsSection, "FirstStart", true)) {
        settings.WriteBool(kSettingsSection, "FirstStart", false);
        if (callbacks.OpenHelp) callbacks.OpenHelp();
    }
    const std::string& ident = table.Ident;
    // The tables are filtered when read; this keeps any other caller from writing outside
    // Cache/ or into another settings key.
    if (const std::string message = UnsafeTableMessage(ident, paths.Codes()); !message.empty())
        throw EError(message);
    cacheReused_ = false;
    if (FileExists(paths.CacheFile(ident, 1)) && FileExists(paths.CacheFile(ident, 2)) &&
        FileExists(paths.CacheFile(ident, 3)))
        cacheReused_ = LoadValidCache(paths, settings, dicList, ident, callbacks);
    if (!cacheReused_) Rebuild(paths, settings, dicList, table, callbacks);
    RecomputeGroups(grouping);
}

void TCodeDictionary::BuildInMemory(const TStringList& dicList, const TWordCoder& coder,
                                    TGrouping grouping) {
    Clear();
    ComputeCodes(dicList, coder, {});
    RecomputeGroups(grouping);
}

void TCodeDictionary::ComputeCodes(const TStringList& dicList, const TWordCoder& coder,
                                   const TBuildCallbacks& callbacks) {
    wordCodeList_.Clear();
    codeList_.Clear();
    const size_t total = dicList.Count();
    std::vector<std::string> distinct;
    int shown = -1;
    for (size_t i = 0; i < total; ++i) {
        std::string code = coder.WordToCode(dicList[i]);
        if (!code.empty()) {
            wordCodeList_.Add(code, static_cast<int32_t>(i));
            distinct.push_back(std::move(code));
        }
        const auto percent = static_cast<int>((static_cast<uint64_t>(i) + 1) * 100 / total);
        if (callbacks.ProcessEvents) callbacks.ProcessEvents();
        if (percent != shown) { // the status line ignores an unchanged text anyway
            Status(callbacks, FormatPercent(percent));
            shown = percent;
        }
    }
    codeList_.Assign(std::move(distinct));
}

bool TCodeDictionary::LoadValidCache(const TPaths& paths, const TIniFile& settings,
                                     const TStringList& dicList, const std::string& ident,
                                     const TBuildCallbacks& callbacks) {
    // Files written for this dictionary are no larger than this (a code has at most one
    // digit per byte of its entry; an index at most 10 digits): a bigger one is junk and is
    // rebuilt without being read.
    long long dicBytes = 0;
    for (const auto& entry : dicList.Strings()) dicBytes += static_cast<long long>(entry.size()) + 2;
    const long long bounds[] = {dicBytes, dicBytes, 12 * static_cast<long long>(dicList.Count())};
    for (int n = 1; n <= 3; ++n)
        if (FileSize(paths.CacheFile(ident, n)) > bounds[n - 1]) return false;

    TStringList codes(TStringList::Kind::Plain), indices(TStringList::Kind::Plain);
    TStringList* targets[] = {&codeList_, &codes, &indices};
    for (int n = 1; n <= 3; ++n) {
        const std::string path = paths.CacheFile(ident, n);
        Status(callbacks, Format(res::kLoadingFile, path));
        targets[n - 1]->LoadFromFile(path);
    }
    Status(callbacks, res::kLoadingCodeDictionary);

    TStringList record;
    record.SetCommaText(settings.ReadString(kCacheSection, ident, ""));
    if (record.Value("1") != TextChecksumString(dicList.Text()) ||
        record.Value("2") != TextChecksumString(codeList_.Text()) ||
        record.Value("3") != TextChecksumString(codes.Text()) ||
        record.Value("4") != TextChecksumString(indices.Text()))
        return false;

    // Files that match their checksums were written by the program; a hand-made set that
    // still matches but does not fit together is rebuilt rather than trusted.
    if (codes.Count() != indices.Count()) return false;
    wordCodeList_.Clear();
    for (size_t n = 0; n < codes.Count(); ++n) {
        int32_t index = -1;
        if (!ParseInt32(indices[n], index) || index < 0 ||
            static_cast<size_t>(index) >= dicList.Count()) {
            wordCodeList_.Clear();
            return false;
        }
        wordCodeList_.Add(codes[n], index);
    }
    return true;
}

void TCodeDictionary::Rebuild(const TPaths& paths, TIniFile& settings, const TStringList& dicList,
                              const TCodeRec& table, const TBuildCallbacks& callbacks) {
    ComputeCodes(dicList, TWordCoder(table.Letters), callbacks);
    codeList_.SaveToFile(paths.CacheFile(table.Ident, 1), TLinkRule::ReplaceLink);
    const std::string c1 = TextChecksumString(dicList.Text());
    const std::string c2 = TextChecksumString(codeList_.Text());

    TStringList codes, indices;
    std::vector<std::string> codeLines, indexLines;
    codeLines.reserve(wordCodeList_.Count());
    indexLines.reserve(wordCodeList_.Count());
    for (size_t n = 0; n < wordCodeList_.Count(); ++n) {
        codeLines.push_back(wordCodeList_[n]);
        indexLines.push_back(std::to_string(wordCodeList_.Object(n)));
    }
    codes.Assign(std::move(codeLines));
    indices.Assign(std::move(indexLines));
    codes.SaveToFile(paths.CacheFile(table.Ident, 2), TLinkRule::ReplaceLink);
    indices.SaveToFile(paths.CacheFile(table.Ident, 3), TLinkRule::ReplaceLink);
    const std::string c3 = TextChecksumString(codes.Text());
    const std::string c4 = TextChecksumString(indices.Text());

    // Pairs other than 1..4 in a stored record are kept.
    TStringList record;
    record.SetCommaText(settings.ReadString(kCacheSection, table.Ident, ""));
    record.SetValue("1", c1);
    record.SetValue("2", c2);
    record.SetValue("3", c3);
    record.SetValue("4", c4);
    settings.WriteString(kCacheSection, table.Ident, record.CommaText());
}

void TCodeDictionary::RecomputeGroups(TGrouping grouping) {
    std::vector<std::string> groups;
    groups.reserve(codeList_.Count());
    std::unordered_map<std::string, std::string> groupOf;
    for (const auto& code : codeList_.Strings()) {
        std::string group = AdjustCode(code, grouping);
        groupOf.emplace(code, group);
        if (!group.empty()) groups.push_back(std::move(group));
    }
    groupCodeList_.Assign(std::move(groups)); // one batch
    groupIndex_.clear();
    for (size_t n = 0; n < wordCodeList_.Count(); ++n) {
        const auto it = groupOf.find(wordCodeList_[n]);
        const std::string group = it != groupOf.end()
                                      ? it->second
                                      : AdjustCode(wordCodeList_[n], grouping);
        if (!group.empty()) groupIndex_[group].push_back(wordCodeList_.Object(n));
    }
}

const std::vector<int32_t>& TCodeDictionary::EntriesOfGroup(const std::string& group) const {
    const auto it = groupIndex_.find(group);
    return it == groupIndex_.end() ? kNoEntries : it->second;
}

} // namespace nb
