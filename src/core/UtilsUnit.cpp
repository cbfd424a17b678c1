#include "UtilsUnit.h"

#include "FileUnit.h"

#include <climits>
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

} // namespace nb
