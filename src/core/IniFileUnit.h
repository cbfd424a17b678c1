// INI files as the program keeps them (settings.ini, Data/Codes.ini):
//   [Section]
//   Key=Value
// Section and key names compare with case ignored; the first of duplicate sections or keys
// counts. Strings are the text after '=' (blanks around it trimmed, at most 2047 bytes);
// integers are signed decimal, or hexadecimal after "0x"; booleans are integers, non-zero
// true, written as 1 or 0. A missing file reads as empty. Every read looks at the file as
// it is now, and every write re-reads it, changes one value and replaces the file whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nb {

class TIniFile {
public:
    explicit TIniFile(std::string path) : path_(std::move(path)) {}
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

    // A snapshot of one file's content for reading many values at once.
    struct Content {
        std::vector<std::string> lines;
        std::vector<std::string> sections; // first occurrence of each, in file order
        bool Find(const std::string& section, const std::string& key, std::string& value) const;
    };
    // Throws EError when the file exists but cannot be read.
    Content Load() const;

private:
    Content LoadForReading() const;

    std::string path_;
};

// Reads an integer the way the settings file stores it; false when it does not parse.
bool ParseIniInteger(const std::string& text, int32_t& value);

} // namespace nb
