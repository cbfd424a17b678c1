#include "StringListUnit.h"

#include "CollationUnit.h"
#include "core/FileUnit.h"
#include "core/TextUnit.h"

#include <algorithm>
#include <numeric>

namespace nb {

std::vector<std::string> SplitLines(std::string_view text) {
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    std::vector<std::string> lines;
    const size_t n = text.size();
    size_t start = 0;
    while (start < n) {
        size_t end = start;
        while (end < n && text[end] != '\r' && text[end] != '\n') ++end;
        lines.emplace_back(text.substr(start, end - start));
        if (end < n) end += (text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ? 2 : 1;
        start = end;
    }
    return lines;
}

std::vector<std::string> ReadCommaList(std::string_view text) {
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    const size_t n = text.size();
    auto isSpace = [&](size_t i) { return static_cast<unsigned char>(text[i]) <= 32; };
    std::vector<std::string> items;
    size_t p = 0;
    while (p < n && isSpace(p)) ++p;
    while (p < n) {
        std::string item;
        if (text[p] == '"') {
            ++p;
            while (p < n) {
                if (text[p] == '"') {
                    if (p + 1 < n && text[p + 1] == '"') {
                        item += '"';
                        p += 2;
                        continue;
                    }
                    ++p; // the closing quote
                    break;
                }
                item += text[p++];
            }
        } else {
            const size_t start = p;
            while (p < n && !isSpace(p) && text[p] != ',') ++p;
            item.assign(text.substr(start, p - start));
        }
        items.push_back(std::move(item));
        while (p < n && isSpace(p)) ++p;
        if (p < n && text[p] == ',') {
            if (p == n - 1) items.emplace_back();
            ++p;
            while (p < n && isSpace(p)) ++p;
        }
    }
    return items;
}

std::string WriteCommaList(const std::vector<std::string>& items) {
    if (items.size() == 1 && items[0].empty()) return "\"\"";
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out += ',';
        const std::string& s = items[i];
        const bool quote = std::any_of(s.begin(), s.end(), [](char c) {
            return static_cast<unsigned char>(c) <= 32 || c == '"' || c == ',';
        });
        if (!quote) {
            out += s;
            continue;
        }
        out += '"';
        for (char c : s) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

size_t TStringList::LowerBound(const std::string& key) const {
    return static_cast<size_t>(std::lower_bound(keys_.begin(), keys_.end(), key) - keys_.begin());
}

size_t TStringList::Add(std::string_view s, int32_t object) {
    if (!sorted_) {
        strings_.emplace_back(s);
        objects_.push_back(object);
        return strings_.size() - 1;
    }
    std::string key = CollationKey(s);
    const size_t pos = LowerBound(key);
    if (pos < keys_.size() && keys_[pos] == key) return pos;
    strings_.emplace(strings_.begin() + static_cast<long>(pos), s);
    objects_.insert(objects_.begin() + static_cast<long>(pos), object);
    keys_.insert(keys_.begin() + static_cast<long>(pos), std::move(key));
    return pos;
}

long TStringList::IndexOf(std::string_view s) const {
    const std::string key = CollationKey(s);
    if (sorted_) {
        const size_t pos = LowerBound(key);
        return pos < keys_.size() && keys_[pos] == key ? static_cast<long>(pos) : -1;
    }
    for (size_t i = 0; i < strings_.size(); ++i)
        if (CollationKey(strings_[i]) == key) return static_cast<long>(i);
    return -1;
}

void TStringList::Delete(size_t i) {
    strings_.erase(strings_.begin() + static_cast<long>(i));
    objects_.erase(objects_.begin() + static_cast<long>(i));
    if (sorted_) keys_.erase(keys_.begin() + static_cast<long>(i));
}

void TStringList::Clear() {
    strings_.clear();
    objects_.clear();
    keys_.clear();
}

void TStringList::Assign(std::vector<std::string> items) {
    Clear();
    if (!sorted_) {
        strings_ = std::move(items);
        objects_.assign(strings_.size(), 0);
        return;
    }
    std::vector<std::string> keys;
    keys.reserve(items.size());
    for (const auto& s : items) keys.push_back(CollationKey(s));
    std::vector<size_t> order(items.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    strings_.reserve(items.size());
    keys_.reserve(items.size());
    objects_.reserve(items.size());
    for (size_t idx : order) {
        if (!keys_.empty() && keys_.back() == keys[idx]) continue; // the first read wins
        strings_.push_back(std::move(items[idx]));
        keys_.push_back(std::move(keys[idx]));
        objects_.push_back(static_cast<int32_t>(std::min<size_t>(idx, INT32_MAX)));
    }
}

std::string TStringList::Text() const {
    size_t size = 0;
    for (const auto& s : strings_) size += s.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& s : strings_) {
        text += s;
        text += "\r\n";
    }
    return text;
}

void TStringList::LoadFromFile(const std::string& path, TNulRule rule) {
    SetText(ReadTextFile(path, rule));
}

void TStringList::SaveToFile(const std::string& path, TLinkRule links) const {
    std::string text = Text();
    GuardLeadingMark(text);
    WriteFileAtomic(path, text, links);
}

long TStringList::IndexOfName(std::string_view name) const {
    for (size_t i = 0; i < strings_.size(); ++i) {
        const auto eq = strings_[i].find('=');
        if (eq == std::string::npos) continue;
        if (SameTextCp1251(std::string_view(strings_[i]).substr(0, eq), name))
            return static_cast<long>(i);
    }
    return -1;
}

std::string TStringList::Value(std::string_view name) const {
    const long i = IndexOfName(name);
    if (i < 0) return {};
    const std::string& line = strings_[static_cast<size_t>(i)];
    return line.substr(line.find('=') + 1);
}

void TStringList::SetValue(std::string_view name, std::string_view value) {
    const long i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(static_cast<size_t>(i));
        return;
    }
    std::string line(name);
    line += '=';
    line += value;
    if (i >= 0) {
        strings_[static_cast<size_t>(i)] = std::move(line);
        if (sorted_) keys_[static_cast<size_t>(i)] = CollationKey(strings_[static_cast<size_t>(i)]);
    } else {
        Add(line);
    }
}

} // namespace nb
