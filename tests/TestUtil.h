// Helpers shared by the tests: Windows-1251 literals and throw-away program folders.
#pragma once

#include <string>
#include <string_view>

namespace nbtest {

// A UTF-8 literal as the Windows-1251 bytes the engine works with.
std::string W(std::string_view utf8);
// Windows-1251 bytes back to UTF-8, for readable failure messages.
std::string U(std::string_view cp1251);

// A fresh folder under the system's temporary folder, removed with everything in it
// when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(std::string_view rel) const { return path_ + "/" + std::string(rel); }
    // Writes raw bytes, creating folders on the way.
    void Write(std::string_view rel, std::string_view bytes) const;
    std::string Read(std::string_view rel) const;
    bool Exists(std::string_view rel) const;

private:
    std::string path_;
};

} // namespace nbtest
