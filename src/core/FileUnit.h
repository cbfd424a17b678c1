// Whole-file reading and atomic writing, with the error texts the user sees.
#pragma once

#include <cerrno>
#include <stdexcept>
#include <string>
#include <string_view>

namespace nb {

// An error that carries the message shown to the user (UTF-8; paths as the system gives them).
class EError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates one folder; the result says whether it exists afterwards.
bool CreateDir(const std::string& path);

// Reads the whole file. Throws EError "Cannot open file "<path>". <reason>"; also for
// something that is no regular file (a folder, a pipe, a device), which could never end.
std::string ReadWholeFile(const std::string& path);

// Replaces the file by `bytes`: written to a temporary file in the same folder, flushed
// and renamed over the target, so a crash or a full disk never leaves a partial file.
// A file the user made read-only is refused. Throws EError "Cannot create file "<path>".
// <reason>" when the file cannot be written; the old file stays as it was.
void WriteFileAtomic(const std::string& path, std::string_view bytes);

// Test seam: when set, WriteFileAtomic fails for every path containing this text the way
// a full disk (or, with EROFS, a read-only one) makes it fail: half of the bytes reach the
// temporary file, then the write fails with `error`. Empty (the default) disables it.
void SetWriteFailureForTesting(const std::string& pathPart, int error = ENOSPC);

std::string FormatOpenError(const std::string& path, const std::string& reason);
std::string FormatCreateError(const std::string& path, const std::string& reason);

std::string ParentFolder(const std::string& path);

} // namespace nb
