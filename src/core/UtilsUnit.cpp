#include "UtilsUnit.h"

#include "FileUnit.h"
#include "resources/ResStrUnit.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nb {

const std::string& ProgramFolder() {
    static const std::string folder = [] {
        char buf[PATH_MAX];
        const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
        if (n <= 0) return std::string(".");
        return ParentFolder(std::string(buf, static_cast<size_t>(n)));
    }();
    return folder;
}

namespace {

std::string UserFolderError(const std::string& folder, const std::string& reason) {
    const int n = std::snprintf(nullptr, 0, res::kNoUserFolder, folder.c_str(), reason.c_str());
    std::string text(static_cast<size_t>(n > 0 ? n : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, res::kNoUserFolder, folder.c_str(), reason.c_str());
    return text;
}

// Creates the folder and any missing parents, like `mkdir -p`; private to the user, as
// the freedesktop rules ask for the data folder. Returns 0 or the errno of the failure.
int CreateFolders(const std::string& path) {
    if (DirectoryExists(path)) return 0;
    const std::string parent = ParentFolder(path);
    if (parent != path && parent != "/" && parent != ".") {
        if (const int err = CreateFolders(parent)) return err;
    }
    if (::mkdir(path.c_str(), 0700) == 0 || DirectoryExists(path)) return 0;
    return errno == EEXIST ? ENOTDIR : errno; // a file in the way
}

// Copies a shipped file to the user's folder unless the user has one: written in full to a
// file of its own first, then linked in, which fails rather than replace a file that
// appeared meanwhile (another copy of the program starting at the same moment).
void CopyShippedFile(const std::string& from, const std::string& to) {
    if (FileExists(to) || !FileExists(from)) return;
    const std::string bytes = ReadWholeFile(from);
    const std::string staged = to + ".shipped";
    WriteFileAtomic(staged, bytes, TLinkRule::ReplaceLink); // our own staging file
    const int rc = ::link(staged.c_str(), to.c_str());
    const int err = errno;
    ::unlink(staged.c_str());
    if (rc != 0 && err != EEXIST) throw EError(FormatCreateError(to, ErrorReason(err)));
    SyncFolder(to);
}

} // namespace

TPaths LayoutFor(const std::string& programFolder, const std::string& xdgDataHome,
                 const std::string& home) {
    const std::string shared = ParentFolder(programFolder) + "/share/numbrelia";
    if (DirectoryExists(programFolder + "/Data") || !DirectoryExists(shared + "/Data"))
        return TPaths{programFolder, {}};
    // A relative $XDG_DATA_HOME is to be ignored; without a home the folder stays empty and
    // PrepareUserFolder says so.
    std::string dataHome = xdgDataHome;
    if (dataHome.empty() || dataHome[0] != '/')
        dataHome = home.empty() ? "" : home + "/.local/share";
    while (dataHome.size() > 1 && dataHome.back() == '/') dataHome.pop_back();
    return TPaths{dataHome.empty() ? "" : dataHome + "/numbrelia", shared};
}

TPaths ProgramPaths() {
    auto env = [](const char* name) {
        const char* v = std::getenv(name);
        return std::string(v ? v : "");
    };
    std::string home = env("HOME");
    if (home.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) home = pw->pw_dir;
    }
    return LayoutFor(ProgramFolder(), env("XDG_DATA_HOME"), home);
}

void PrepareUserFolder(const TPaths& paths) {
    if (!paths.Installed()) return;
    if (paths.Folder.empty())
        throw EError(UserFolderError("~/.local/share/numbrelia", ErrorReason(ENOENT)));
    for (const std::string& folder : {paths.Folder, paths.Folder + "/Data"}) {
        if (const int err = CreateFolders(folder))
            throw EError(UserFolderError(folder, ErrorReason(err)));
    }
    CopyShippedFile(paths.ShippedCodes(), paths.Codes());
    CopyShippedFile(paths.ShippedDictionary(), paths.Dictionary());
}

} // namespace nb
