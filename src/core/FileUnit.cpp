#include "FileUnit.h"

#include "resources/ResStrUnit.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/file.h>
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

bool& Russian() {
    static bool russian = false;
    return russian;
}

std::string Reason(int err) { return ErrorReason(err); }

std::string Format(const char* pattern, const std::string& path, const std::string& reason) {
    const int n = std::snprintf(nullptr, 0, pattern, path.c_str(), reason.c_str());
    std::string text(static_cast<size_t>(n > 0 ? n : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, path.c_str(), reason.c_str());
    return text;
}

} // namespace

[[noreturn]] static void ThrowCreate(const std::string& path, const std::string& reason) {
    throw EError(FormatCreateError(path, reason), reason);
}

[[noreturn]] static void ThrowOpen(const std::string& path, const std::string& reason) {
    throw EError(FormatOpenError(path, reason), reason);
}

void SetRussianMessages(bool russian) { Russian() = russian; }
bool RussianMessages() { return Russian(); }

std::string ErrorReason(int err) {
    if (!Russian()) return std::strerror(err);
    switch (err) {
    case ENOSPC: return res::kErrNoSpace;
    case EACCES: return res::kErrAccess;
    case EROFS: return res::kErrReadOnlyFs;
    case ENOENT: return res::kErrNoEntry;
    case EISDIR: return res::kErrIsDir;
    case ENOTDIR: return res::kErrNotDir;
    case EEXIST: return res::kErrExists;
    case EDQUOT: return res::kErrQuota;
    case EIO: return res::kErrIo;
    case ENAMETOOLONG: return res::kErrNameTooLong;
    case ELOOP: return res::kErrLoop;
    case EBUSY: return res::kErrBusy;
    case EPERM: return res::kErrPerm;
    default: break;
    }
    // The system's own Russian text, where its Russian locale is installed.
    static const locale_t ru = ::newlocale(LC_MESSAGES_MASK, "ru_RU.UTF-8", locale_t{});
    return ru ? ::strerror_l(err, ru) : std::strerror(err);
}

std::string ProblemReason(TFileProblem problem) {
    const bool ru = Russian();
    switch (problem) {
    case TFileProblem::NotRegular: return ru ? res::kNotRegularFile : "Not a regular file";
    case TFileProblem::DanglingLink:
        return ru ? res::kDanglingLink
                  : "It is a symbolic link to no file; nothing is written through it";
    case TFileProblem::LinkToNonFile:
        return ru ? res::kLinkToNonFile
                  : "It is a symbolic link to no regular file; nothing is written through it";
    }
    return {};
}

void SyncFolder(const std::string& path) {
    const int fd = ::open(ParentFolder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string FormatOpenError(const std::string& path, const std::string& reason) {
    if (Russian()) return Format(res::kCannotOpenFile, path, reason);
    return "Cannot open file \"" + path + "\". " + reason;
}

std::string FormatCreateError(const std::string& path, const std::string& reason) {
    if (Russian()) return Format(res::kCannotCreateFile, path, reason);
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

namespace {

// Opens a regular file for reading. Non-blocking, so that opening a pipe nobody writes to
// cannot hang the program.
int OpenRegularFile(const std::string& path, struct stat& st) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) ThrowOpen(path, Reason(errno));
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool dir = S_ISDIR(st.st_mode);
        ::close(fd);
        ThrowOpen(path, dir ? Reason(EISDIR) : ProblemReason(TFileProblem::NotRegular));
    }
    return fd;
}

// The final target of a chain of symbolic links (the path itself when it is no link).
std::string ResolveLinks(const std::string& path) {
    std::string p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(p.c_str(), buf, sizeof buf - 1);
        if (n <= 0) return p;
        const std::string target(buf, static_cast<size_t>(n));
        p = target[0] == '/' ? target : ParentFolder(p) + "/" + target;
    }
    ThrowCreate(path, Reason(ELOOP));
}

} // namespace

long long FileSize(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

std::string ReadTextFile(const std::string& path, TNulRule rule) {
    struct stat st {};
    const int fd = OpenRegularFile(path, st);
    std::string data;
    // The size is only a hint: a sparse file or a tail of zeros may hold far less text.
    constexpr off_t kReserveAtMost = off_t{16} << 20;
    if (st.st_size > 0) data.reserve(static_cast<size_t>(std::min(st.st_size, kReserveAtMost)));
    char buf[65536];
    off_t pos = 0;
    for (;;) {
        if (rule == TNulRule::DropNul) {
            // A hole reads as zeros, which this rule drops anyway.
            const off_t next = ::lseek(fd, pos, SEEK_DATA);
            if (next < 0 && errno == ENXIO) break;
            if (next >= 0) pos = next;
        }
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            ThrowOpen(path, Reason(err));
        }
        if (n == 0) break;
        pos += n;
        const std::string_view chunk(buf, static_cast<size_t>(n));
        if (rule == TNulRule::StopAtNul) {
            const auto nul = chunk.find('\0');
            data.append(chunk.substr(0, nul));
            if (nul != std::string_view::npos) break;
        } else if (rule == TNulRule::KeepBytes) {
            data.append(chunk);
        } else {
            for (size_t at = 0; at < chunk.size();) {
                const auto nul = std::min(chunk.find('\0', at), chunk.size());
                data.append(chunk.substr(at, nul - at));
                at = nul + 1;
            }
        }
    }
    ::close(fd);
    if (rule != TNulRule::KeepBytes && data.compare(0, 3, "\xEF\xBB\xBF") == 0) data.erase(0, 3);
    return data;
}

void GuardLeadingMark(std::string& text) {
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.insert(0, "\xEF\xBB\xBF");
}

std::string ReadWholeFile(const std::string& path) {
    return ReadTextFile(path, TNulRule::KeepBytes);
}

void WriteFileAtomic(const std::string& path, std::string_view bytes, TLinkRule links) {
    struct stat st {};
    bool exists = ::lstat(path.c_str(), &st) == 0;
    std::string target = path;
    if (exists && S_ISLNK(st.st_mode)) {
        if (links == TLinkRule::ReplaceLink) {
            exists = false; // the link goes, a file of the program's own takes its place
        } else {
            // Through the link, as editors do: the link stays, its target is replaced; but
            // only an existing regular file, which the user can see the link is meant for.
            target = ResolveLinks(path);
            if (::stat(target.c_str(), &st) != 0)
                ThrowCreate(path, ProblemReason(TFileProblem::DanglingLink));
            if (!S_ISREG(st.st_mode))
                ThrowCreate(path, ProblemReason(TFileProblem::LinkToNonFile));
        }
    }
    if (exists && S_ISDIR(st.st_mode)) ThrowCreate(path, Reason(EISDIR));
    // Root may write anything; a file without write bits was still meant to stay as it is.
    if (exists && (st.st_mode & 0222) == 0) ThrowCreate(path, Reason(EACCES));
    const TWriteFailure& failure = WriteFailure();
    const bool inject = !failure.PathPart.empty() && path.find(failure.PathPart) != std::string::npos;

    std::string tmp = target + ".XXXXXX";
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) ThrowCreate(path, Reason(errno));
    // Marks the file as being written; see RemoveStaleTempFiles.
    ::flock(fd, LOCK_EX | LOCK_NB);
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        ThrowCreate(path, Reason(err));
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
        ThrowCreate(path, Reason(err));
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        ThrowCreate(path, Reason(err));
    }
    SyncFolder(target);
}

void AppendLineToFile(const std::string& path, std::string_view line) {
    struct stat lst {};
    const bool link = ::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode);
    struct stat st {};
    if (link && (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)))
        throw EError(FormatCreateError(path, "The link leads to no file"));
    const int flags = O_WRONLY | O_APPEND | O_CLOEXEC | O_NONBLOCK | (link ? 0 : O_CREAT | O_NOFOLLOW);
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) throw EError(FormatCreateError(path, Reason(errno)));
    auto fail = [&](int err) {
        ::close(fd);
        throw EError(FormatCreateError(path, Reason(err)));
    };
    if (::fstat(fd, &st) != 0) fail(errno);
    if (!S_ISREG(st.st_mode)) fail(EINVAL);
    std::string bytes;
    if (st.st_size > 0) {
        char last = '\n';
        const int rfd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (rfd >= 0) {
            if (::pread(rfd, &last, 1, st.st_size - 1) != 1) last = '\n';
            ::close(rfd);
        }
        if (last != '\n') bytes = "\r\n";
    }
    bytes.append(line);
    const TWriteFailure& failure = WriteFailure();
    if (!failure.PathPart.empty() && path.find(failure.PathPart) != std::string::npos) {
        if (::write(fd, bytes.data(), bytes.size() / 2) < 0) { /* failing anyway */ }
        fail(failure.Error);
    }
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        done += static_cast<size_t>(n);
    }
    if (::fdatasync(fd) != 0) fail(errno);
    if (::close(fd) != 0) throw EError(FormatCreateError(path, Reason(errno)));
}

int RemoveStaleTempFiles(const std::string& folder, bool (*ours)(std::string_view name),
                         int minAgeSeconds) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    const time_t now = ::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() < 8 || name[name.size() - 7] != '.') continue;
        const std::string_view suffix = name.substr(name.size() - 6);
        if (!std::all_of(suffix.begin(), suffix.end(),
                         [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
            continue;
        if (!ours(name.substr(0, name.size() - 7))) continue;
        const std::string path = folder + "/" + std::string(name);
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (now - st.st_mtime < minAgeSeconds) continue;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        // A writer holds its temporary file locked until it is renamed into place.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.c_str()) == 0) ++removed;
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}

TFileLock::TFileLock(const std::string& path, int timeoutMs) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return;
    for (int waited = 0;; waited += 5) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            locked_ = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return;
        if (waited >= timeoutMs) return;
        ::usleep(5000);
    }
}

TFileLock::~TFileLock() {
    if (fd_ >= 0) ::close(fd_); // closing releases the lock
}

void SetWriteFailureForTesting(const std::string& pathPart, int error) {
    WriteFailure() = {pathPart, error};
}

} // namespace nb
