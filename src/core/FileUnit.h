// Whole-file reading and atomic writing, with the error texts the user sees.
#pragma once

#include <cerrno>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace nb {

// An error that carries the message shown to the user (UTF-8; paths as the system gives them).
class EError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // `reason` alone, for a caller that words the message its own way.
    EError(const std::string& message, std::string reason)
        : std::runtime_error(message), reason_(std::move(reason)) {}
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates one folder; the result says whether it exists afterwards.
bool CreateDir(const std::string& path);

// Reads the whole file. Throws EError "Cannot open file "<path>". <reason>"; also for
// something that is no regular file (a folder, a pipe, a device), which could never end.
std::string ReadWholeFile(const std::string& path);

// What a text reader does with a zero byte: the dictionary and the cache end their text
// there (and read no further); the user's own files keep every line, the byte dropped.
// KeepBytes reads every byte as it is (no byte order mark skipped either).
enum class TNulRule { StopAtNul, DropNul, KeepBytes };

// Reads a text file as a stream: a leading UTF-8 byte order mark is skipped, zero bytes
// follow `rule`, and the holes of a sparse file are skipped without being read. Throws
// EError like ReadWholeFile.
std::string ReadTextFile(const std::string& path, TNulRule rule);

// The file's size in bytes, or -1 when it cannot be examined.
long long FileSize(const std::string& path);

// What a write does with a symbolic link at the path. A user's file may be a link the user
// made: it is written through, but only to an existing regular file (the link stays, its
// final target is replaced in the target's folder); a dangling link or one to a folder, a
// device or a pipe is refused, so that a folder unpacked from someone else cannot make
// the program create or overwrite files elsewhere. The program's own files (the cache)
// are never followed: a link there is replaced by the file.
enum class TLinkRule { WriteThrough, ReplaceLink };

// Replaces the file by `bytes`: written to a temporary file in the same folder, flushed
// and renamed over the target, so a crash or a full disk never leaves a partial file.
// Links follow `links`. A file the user made read-only is refused. Throws EError "Cannot create file "<path>".
// <reason>" when the file cannot be written; the old file stays as it was.
// The temporary file is "<name>.XXXXXX" and is flock()ed while it exists, so that
// RemoveStaleTempFiles can tell a live one from one a killed process left behind.
void WriteFileAtomic(const std::string& path, std::string_view bytes,
                     TLinkRule links = TLinkRule::WriteThrough);

// Text that starts with the bytes of a byte order mark would lose them to the next
// reading, which skips one mark: such text gets a mark in front.
void GuardLeadingMark(std::string& text);

// Appends `line` (ending in a line end) to a log file, created when missing, and flushes it
// to the disk. When the file ends in a line cut short (a kill during an append) a line
// end comes first, so the new line stays whole. A symbolic link is written through only
// to an existing regular file. Throws EError "Cannot create file ...".
void AppendLineToFile(const std::string& path, std::string_view line);

// Removes from `folder` the temporary files of WriteFileAtomic ("<name>.XXXXXX", six
// letters or digits) whose <name> `ours` accepts, that nobody holds locked and that are at
// least `minAgeSeconds` old (a writer takes its lock right after creating the file).
// Returns how many were removed; errors are ignored.
int RemoveStaleTempFiles(const std::string& folder, bool (*ours)(std::string_view name),
                         int minAgeSeconds = 60);

// An exclusive advisory lock (flock) on `path`, a file or a folder, held while the object
// lives. Waits at most `timeoutMs`; Locked() says whether it was taken. Nothing is
// created: a path that cannot be opened is not locked (and not Busy).
class TFileLock {
public:
    explicit TFileLock(const std::string& path, int timeoutMs = 10000);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;
    bool Locked() const { return locked_; }
    // Someone else held it for the whole wait.
    bool Busy() const { return fd_ >= 0 && !locked_; }

private:
    int fd_ = -1;
    bool locked_ = false;
};

// Test seam: when set, WriteFileAtomic fails for every path containing this text the way
// a full disk (or, with EROFS, a read-only one) makes it fail: half of the bytes reach the
// temporary file, then the write fails with `error`. Empty (the default) disables it.
void SetWriteFailureForTesting(const std::string& pathPart, int error = ENOSPC);

// Makes a rename or link of `path` durable: without it a power cut can bring back the
// former entry (never a partial file, as the file was synced before).
void SyncFolder(const std::string& path);

std::string FormatOpenError(const std::string& path, const std::string& reason);
std::string FormatCreateError(const std::string& path, const std::string& reason);

// The language of the file errors: English for the command-line tool (its messages are
// for scripts and logs), Russian for the window. Set once at start.
void SetRussianMessages(bool russian);
bool RussianMessages();
// The reason of a failure in the messages' language. In Russian the common errors have
// a text of their own (the system's Russian texts ship only with a generated ru_RU locale);
// any other takes the system's Russian text where there is one, else its English one.
std::string ErrorReason(int err);
// "Is a directory" and the two refusals of a link, in the messages' language.
enum class TFileProblem { NotRegular, DanglingLink, LinkToNonFile };
std::string ProblemReason(TFileProblem problem);

std::string ParentFolder(const std::string& path);

} // namespace nb
