#include "FileUnit.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nb {
namespace {

struct TWriteFailure {
    std::string PathPart;
    int Error = ENOSPC;
};

TWriteFailure& WriteFailure() {
    static TWriteFailure failure;
    return failure;
}

// Makes a rename durable: without it a power cut can bring back the old file (never a
// partial one, as the new file was synced before the rename).
void SyncFolder(const std::string& path) {
    const int fd = ::open(ParentFolder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string Reason(int err) { return std::strerror(err); }

} // namespace

std::string FormatOpenError(const std::string& path, const std::string& reason) {
    return "Cannot open file \"" + path + "\". " + reason;
}

std::string FormatCreateError(const std::string& path, const std::string& reason) {
    return "Cannot create file \"" + path + "\". " + reason;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDir(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    return DirectoryExists(path);
}

std::string ParentFolder(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string ReadWholeFile(const std::string& path) {
    // Non-blocking, so that opening a pipe nobody writes to cannot hang the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw EError(FormatOpenError(path, Reason(errno)));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool dir = S_ISDIR(st.st_mode);
        ::close(fd);
        throw EError(FormatOpenError(path, dir ? Reason(EISDIR) : "Not a regular file"));
    }
    std::string data;
    if (st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            throw EError(FormatOpenError(path, Reason(err)));
        }
        if (n == 0) break;
        data.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return data;
}

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) throw EError(FormatCreateError(path, Reason(EISDIR)));
    // Root may write anything; a file without write bits was still meant to stay as it is.
    if (exists && (st.st_mode & 0222) == 0) throw EError(FormatCreateError(path, Reason(EACCES)));
    const TWriteFailure& failure = WriteFailure();
    const bool inject = !failure.PathPart.empty() && path.find(failure.PathPart) != std::string::npos;

    std::string tmp = path + ".XXXXXX";
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) throw EError(FormatCreateError(path, Reason(errno)));
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        throw EError(FormatCreateError(path, Reason(err)));
    };
    size_t done = 0;
    if (inject) bytes = bytes.substr(0, bytes.size() / 2);
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        done += static_cast<size_t>(n);
    }
    if (inject) fail(failure.Error);
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    mode_t mode = 0666;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd, mode) != 0) { /* not fatal: the content is what matters */ }
    if (::fsync(fd) != 0) fail(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        throw EError(FormatCreateError(path, Reason(err)));
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        throw EError(FormatCreateError(path, Reason(err)));
    }
    SyncFolder(path);
}

void SetWriteFailureForTesting(const std::string& pathPart, int error) {
    WriteFailure() = {pathPart, error};
}

} // namespace nb
