// INI files as the program keeps them (settings.ini, Data/Codes.ini):
//   [Section]
//   Key=Value
// Section and key names compare with case ignored; the first of duplicate sections or keys
// counts. Strings are the text after '=' (blanks around it trimmed, at most 2047 bytes);
// integers are signed decimal, or hexadecimal after "0x"; booleans are integers, non-zero
// true, written as 1 or 0. A missing file reads as empty; a leading UTF-8 byte order mark
// is skipped. Every read looks at the file as it is now: its content is kept from one read
// to the next only while the file stays the same one, of the same size and time stamp (and
// that stamp is more than a second old, so a change within the same clock tick cannot
// hide), so that a command reading many keys of a big file reads it once. Every write
// re-reads it, changes its values and replaces the file whole, holding an
// advisory lock (flock) on the file's folder for the whole cycle so that two processes
// writing different keys never lose each other's.
#pragma once

#include "core/FileUnit.h"

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace nb {

class TIniFile {
public:
    // Settings drop zero bytes (every line is kept for the next write); Data/Codes.ini,
    // which the program never writes, ends at one, as the dictionary does.
    explicit TIniFile(std::string path, TNulRule rule = TNulRule::DropNul)
        : path_(std::move(path)), rule_(rule) {}
    const std::string& FileName() const { return path_; }

    std::vector<std::string> ReadSections() const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    // Throw EError "Unable to write to <path>" when the file cannot be written.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    // Several values of one section in one replacement of the file, in this order.
    void WriteStrings(const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& values);

    // A snapshot of one file's content for reading many values at once.
    struct Content {
        std::vector<std::string> lines;
        std::vector<std::string> sections; // first occurrence of each, in file order
        bool Find(const std::string& section, const std::string& key, std::string& value) const;
        // Folded section name -> folded key -> value, first occurrences only.
        std::unordered_map<std::string, std::unordered_map<std::string, std::string>> index;
    };
    // Throws EError when the file exists but cannot be read.
    Content Load() const;

private:
    std::shared_ptr<const Content> LoadForReading() const;

    // What identifies the file's present content well enough to keep it.
    struct TStamp {
        bool Valid = false;
        unsigned long long Device = 0, Inode = 0;
        long long Size = 0;
        timespec Modified{}, Changed{};
        bool Same(const TStamp& o) const;
    };
    static TStamp StampOf(const std::string& path);

    std::string path_;
    TNulRule rule_;
    mutable std::shared_ptr<const Content> kept_;
    mutable TStamp keptStamp_;
};

// Reads an integer the way the settings file stores it; false when it does not parse.
bool ParseIniInteger(const std::string& text, int32_t& value);

} // namespace nb
