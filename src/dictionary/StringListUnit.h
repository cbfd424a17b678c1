// The string list every stored list of the program is made of: items of Windows-1251
// text, each with one attached integer; either kept sorted (locale collation, case
// ignored, duplicates ignored) or in insertion order. Line files, name=value lines and
// the one-line comma list encoding live here too.
#pragma once

#include "core/FileUnit.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nb {

// Splits text into lines at CR LF, a lone CR or a lone LF; a last line without a line
// break counts; an empty line is an empty item; a zero byte ends the text.
std::vector<std::string> SplitLines(std::string_view text);

// The comma-list reading rule: blanks and control characters separate items like commas;
// double quotes enclose an item, a doubled quote inside standing for one.
std::vector<std::string> ReadCommaList(std::string_view text);
// The writing rule: items joined by commas; an item holding a byte 0..32, a quote or a
// comma is quoted with inner quotes doubled; a single empty item is written as "".
std::string WriteCommaList(const std::vector<std::string>& items);

class TStringList {
public:
    enum class Kind { Plain, Sorted };

    explicit TStringList(Kind kind = Kind::Plain) : sorted_(kind == Kind::Sorted) {}

    bool Sorted() const { return sorted_; }
    size_t Count() const { return strings_.size(); }
    bool Empty() const { return strings_.empty(); }
    const std::string& operator[](size_t i) const { return strings_[i]; }
    const std::vector<std::string>& Strings() const { return strings_; }
    int32_t Object(size_t i) const { return objects_[i]; }
    void SetObject(size_t i, int32_t value) { objects_[i] = value; }

    // Adds an item. A sorted list puts it in its place, or ignores it when an equal item
    // is present and returns that item's index.
    size_t Add(std::string_view s, int32_t object = 0);
    // Index of the item equal to `s` (case ignored), or -1.
    long IndexOf(std::string_view s) const;
    bool Contains(std::string_view s) const { return IndexOf(s) >= 0; }
    void Delete(size_t i);
    void Clear();
    // Replaces the content by these items at once: a sorted list sorts once and keeps the
    // first of equal items, so bulk loading is not quadratic. A sorted list attaches to
    // each item its position among `items` (for a loaded file, the line where it first
    // stands); a plain list attaches 0.
    void Assign(std::vector<std::string> items);

    // All items, each followed by CR LF.
    std::string Text() const;
    void SetText(std::string_view text) { Assign(SplitLines(text)); }
    // Throws EError when the file cannot be read or written. The text is read as a stream:
    // a leading UTF-8 byte order mark is skipped, a zero byte treated by `rule`.
    void LoadFromFile(const std::string& path, TNulRule rule = TNulRule::StopAtNul);
    void SaveToFile(const std::string& path, TLinkRule links = TLinkRule::WriteThrough) const;

    // name=value lines: the name is the text before the first '='; names compare with
    // case ignored; a line without '=' has no name.
    long IndexOfName(std::string_view name) const;
    std::string Value(std::string_view name) const;
    // A non-empty value replaces the first line of that name in place, or is appended;
    // an empty value deletes the first line of that name.
    void SetValue(std::string_view name, std::string_view value);

    std::string CommaText() const { return WriteCommaList(strings_); }
    void SetCommaText(std::string_view text) { Assign(ReadCommaList(text)); }

private:
    size_t LowerBound(const std::string& key) const;

    bool sorted_;
    std::vector<std::string> strings_;
    std::vector<int32_t> objects_;
    std::vector<std::string> keys_; // collation keys, sorted lists only
};

} // namespace nb
