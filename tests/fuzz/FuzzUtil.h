// Shared by the fuzz targets: a scratch folder per process and a way to split the input.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace nbfuzz {

inline const std::string& Scratch() {
    static const std::string dir = [] {
        std::string templ = (std::filesystem::temp_directory_path() / "numbrelia-fuzz-XXXXXX").string();
        if (!mkdtemp(templ.data())) std::abort();
        return templ;
    }();
    return dir;
}

inline void WriteFile(const std::string& path, std::string_view bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Splits the input at a separator that does not occur in ordinary text files.
inline std::vector<std::string_view> Parts(const uint8_t* data, size_t size, size_t count) {
    std::string_view all(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const auto at = all.find("\xFF\xFE\xFD");
        if (at == std::string_view::npos) break;
        parts.push_back(all.substr(0, at));
        all.remove_prefix(at + 3);
    }
    parts.push_back(all);
    while (parts.size() < count) parts.emplace_back();
    return parts;
}

#define NB_CHECK(cond)                                                                        \
    do {                                                                                      \
        if (!(cond)) {                                                                        \
            fprintf(stderr, "check failed: %s at %s:%d\n", #cond, __FILE__, __LINE__);        \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)

} // namespace nbfuzz
