#include "TestUtil.h"

#include "core/TextUnit.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>

namespace fs = std::filesystem;

namespace nbtest {

std::string W(std::string_view utf8) {
    std::string out;
    if (!nb::Utf8ToCp1251(utf8, out)) throw std::runtime_error("not Windows-1251 text");
    return out;
}

std::string U(std::string_view cp1251) { return nb::Cp1251ToUtf8(cp1251); }

TempDir::TempDir() {
    std::string templ = (fs::temp_directory_path() / "numbrelia-test-XXXXXX").string();
    if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    path_ = templ;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Restore write bits that a test took away, so the folder can be removed.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

void TempDir::Write(std::string_view rel, std::string_view bytes) const {
    const fs::path p = fs::path(path_) / rel;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write test file " + p.string());
}

std::string TempDir::Read(std::string_view rel) const {
    std::ifstream in(fs::path(path_) / rel, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read test file " + std::string(rel));
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TempDir::Exists(std::string_view rel) const { return fs::exists(fs::path(path_) / rel); }

void WriteFixture(const TempDir& dir, bool withDictionary) {
    dir.Write("Data/Codes.ini",
              W("[Classic]\r\nName=Классический\r\n0=н,м\r\n1=г,ж\r\n2=д,т\r\n3=к,х\r\n4=ч,щ\r\n"
                "5=п,б\r\n6=ш,л\r\n7=с,з\r\n8=в,ф\r\n9=р,ц\r\n\r\n"
                "[Major]\r\nName=Фонетический\r\n0=з,с\r\n1=т,д\r\n2=н\r\n3=м\r\n4=р\r\n5=л\r\n"
                "6=ж,ш,ч,щ\r\n7=к,г\r\n8=ф,в\r\n9=п,б\r\n"));
    if (withDictionary)
        dir.Write("Data/dic.lst", W("боа\r\nад\r\nоса\r\nум\r\nпол\r\nухо\r\nбот\r\nпуд\r\nсон\r\n"
                                    "пешка\r\nпшик\r\nвор\r\nау\r\n"));
}

std::unique_ptr<nb::TSession> OpenSession(const std::string& folder, const nb::TProgSettings* settings) {
    auto session = std::make_unique<nb::TSession>(nb::TPaths{folder, {}});
    if (settings) session->OverrideSettings(*settings);
    session->PrepareFolders();
    session->Load();
    nb::TBuildCallbacks quiet;
    quiet.HandleFirstStart = false;
    session->Build(quiet);
    return session;
}

} // namespace nbtest
