#include "IniFileUnit.h"

#include "FileUnit.h"
#include "TextUnit.h"
#include "dictionary/StringListUnit.h"
#include "resources/ResStrUnit.h"

#include <cstdio>
#include <sys/stat.h>
#include <time.h>

namespace nb {
namespace {

constexpr size_t kMaxValue = 2047;

std::string_view Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// The section name of a header line, or false if the line is no header.
bool SectionName(std::string_view line, std::string& name) {
    line = Trim(line);
    if (line.empty() || line[0] != '[') return false;
    const auto close = line.find(']');
    name = std::string(Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1
                                                                               : close - 1)));
    return true;
}

bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = Trim(line.substr(0, eq));
    value = Trim(line.substr(eq + 1));
    return true;
}

} // namespace

bool ParseIniInteger(const std::string& text, int32_t& value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        uint64_t v = 0;
        for (size_t i = 2; i < text.size(); ++i) {
            const char c = text[i];
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else return false;
            v = v * 16 + static_cast<uint64_t>(d);
            if (v > 0xFFFFFFFFull) return false;
        }
        value = static_cast<int32_t>(static_cast<uint32_t>(v));
        return true;
    }
    return ParseInt32(text, value);
}

TIniFile::Content TIniFile::Load() const {
    Content c;
    if (FileExists(path_)) c.lines = SplitLines(ReadTextFile(path_, rule_));
    // One pass with a hash index, so that many sections cost linear time.
    std::string name;
    std::unordered_map<std::string, std::string>* current = nullptr;
    for (const auto& line : c.lines) {
        if (SectionName(line, name)) {
            const auto [it, added] = c.index.try_emplace(LowerCase(name));
            current = added ? &it->second : nullptr; // only the first section of a name counts
            if (added) c.sections.push_back(name);
            continue;
        }
        std::string_view k, v;
        if (current && KeyLine(line, k, v))
            current->try_emplace(LowerCase(k), std::string(v.substr(0, kMaxValue)));
    }
    return c;
}

bool TIniFile::Content::Find(const std::string& section, const std::string& key,
                             std::string& value) const {
    const auto s = index.find(LowerCase(section));
    if (s == index.end()) return false;
    const auto k = s->second.find(LowerCase(key));
    if (k == s->second.end()) return false;
    value = k->second;
    return true;
}

bool TIniFile::TStamp::Same(const TStamp& o) const {
    return Valid && o.Valid && Device == o.Device && Inode == o.Inode && Size == o.Size &&
           Modified.tv_sec == o.Modified.tv_sec && Modified.tv_nsec == o.Modified.tv_nsec &&
           Changed.tv_sec == o.Changed.tv_sec && Changed.tv_nsec == o.Changed.tv_nsec;
}

TIniFile::TStamp TIniFile::StampOf(const std::string& path) {
    struct stat st {};
    TStamp stamp;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return stamp;
    stamp = {true, static_cast<unsigned long long>(st.st_dev),
             static_cast<unsigned long long>(st.st_ino), static_cast<long long>(st.st_size),
             st.st_mtim, st.st_ctim};
    return stamp;
}

std::shared_ptr<const TIniFile::Content> TIniFile::LoadForReading() const {
    const TStamp before = StampOf(path_);
    if (kept_ && keptStamp_.Same(before)) return kept_;
    kept_.reset();
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::shared_ptr<const Content> content;
    // A file that cannot be read gives the defaults, like a missing one.
    try {
        content = std::make_shared<const Content>(Load());
    } catch (const EError&) {
        return std::make_shared<const Content>();
    }
    // Kept only when nothing changed while it was read and a later change must move the
    // time stamp: the file's clock ticks coarsely, and a write in the tick of this read
    // could leave it as it is.
    if (before.Same(StampOf(path_)) && before.Modified.tv_sec + 1 < now.tv_sec) {
        kept_ = content;
        keptStamp_ = before;
    }
    return content;
}

std::vector<std::string> TIniFile::ReadSections() const { return LoadForReading()->sections; }

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
    std::string value;
    return LoadForReading()->Find(section, key, value) ? value : def;
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key,
                              int32_t def) const {
    std::string text;
    int32_t value = 0;
    if (LoadForReading()->Find(section, key, text) && ParseIniInteger(text, value)) return value;
    return def;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    WriteStrings(section, {{key, value}});
}

void TIniFile::WriteStrings(const std::string& section,
                            const std::vector<std::pair<std::string, std::string>>& values) {
    try {
        // The folder, not the file: the file is replaced by a rename, and a lock file of
        // its own would be one more file in the user's folder.
        const TFileLock lock(ParentFolder(path_));
        if (lock.Busy())
            throw EError(path_, RussianMessages() ? res::kSettingsLocked
                                                  : "Another copy of the program has held it "
                                                    "for more than 10 s");
        Content c = Load();
        std::vector<std::string>& lines = c.lines;
        std::string name;
        for (const auto& [key, value] : values) {
            const std::string newLine = key + "=" + value;
            // Find the first section of that name, then the key in it.
            size_t sectionAt = lines.size(), insertAt = lines.size();
            for (size_t i = 0; i < lines.size(); ++i) {
                if (!SectionName(lines[i], name)) continue;
                if (sectionAt != lines.size()) break;
                if (SameTextCp1251(name, section)) sectionAt = i;
            }
            bool done = false;
            if (sectionAt != lines.size()) {
                insertAt = sectionAt + 1;
                for (size_t i = sectionAt + 1; i < lines.size(); ++i) {
                    if (SectionName(lines[i], name)) break;
                    std::string_view k, v;
                    if (KeyLine(lines[i], k, v)) {
                        if (SameTextCp1251(k, key)) {
                            lines[i] = std::string(k) + "=" + value;
                            done = true;
                            break;
                        }
                    }
                    if (!Trim(lines[i]).empty()) insertAt = i + 1;
                }
                if (!done) lines.insert(lines.begin() + static_cast<long>(insertAt), newLine);
            } else {
                lines.push_back("[" + section + "]");
                lines.push_back(newLine);
            }
        }
        std::string text;
        for (const auto& l : lines) text += l + "\r\n";
        kept_.reset();
        WriteFileAtomic(path_, text);
    } catch (const EError& e) {
        // The reason matters to the user: a full disk, a folder in the file's place, …
        const std::string reason = e.Reason();
        if (RussianMessages()) {
            const int n = std::snprintf(nullptr, 0, res::kCannotWriteSettings, path_.c_str(),
                                        reason.c_str());
            std::string text(static_cast<size_t>(n > 0 ? n : 0), '\0');
            std::snprintf(text.data(), text.size() + 1, res::kCannotWriteSettings, path_.c_str(),
                          reason.c_str());
            throw EError(text, reason);
        }
        throw EError("Unable to write to " + path_ + (reason.empty() ? "" : ". " + reason), reason);
    }
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

} // namespace nb
