// Helpers shared by the tests: Windows-1251 literals, throw-away program folders, the small
// program folder most suites use and a session on it.
#pragma once

#include "core/SessionUnit.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nbtest {

// The letters of the classic code table (UTF-8), for a Codes.ini section of a test's own.
inline const std::string kClassicLetters = "0=н,м\r\n1=г,ж\r\n2=д,т\r\n3=к,х\r\n4=ч,щ\r\n5=п,б\r\n"
                                           "6=ш,л\r\n7=с,з\r\n8=в,ф\r\n9=р,ц\r\n";

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

// Writes Data/Codes.ini (tables Classic and Major) and, when asked, Data/dic.lst with a
// dozen words whose Classic codes give 5270563 eight variants:
//   5 боа  2 ад  7 оса  0 ум  56 пол  3 ухо  52 бот пуд  70 сон  563 пешка пшик  89 вор
// and "ау" without a code.
void WriteFixture(const TempDir& dir, bool withDictionary = true);
// Those eight variants of 5270563 in display order.
inline const std::vector<std::string> kDisplayOrder = {
    "52-70-563",   "5-2-70-563",  "52-7-0-563",  "52-70-56-3",
    "5-2-7-0-563", "5-2-70-56-3", "52-7-0-56-3", "5-2-7-0-56-3"};

// A session on a program folder, loaded and built as the window's start-up leaves it
// (the help of a first start left out); `settings`, when given, replace the stored ones.
std::unique_ptr<nb::TSession> OpenSession(const std::string& folder,
                                          const nb::TProgSettings* settings = nullptr);

} // namespace nbtest
