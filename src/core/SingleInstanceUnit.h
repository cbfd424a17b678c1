// Only one copy of the program runs per user: the first copy holds an exclusive flock on a
// lock file named after the program's GUID; the kernel drops the lock when the process
// ends, however it ends, so a crashed copy never blocks the next start.
#pragma once

#include <string>

namespace nb {

inline constexpr const char* kInstanceGuid = "{260269C0-799C-4D00-BAC7-6D492F2E9068}";

// The folder for the lock file: XDG_RUNTIME_DIR when set, else the temporary folder.
std::string RuntimeFolder();

class TSingleInstance {
public:
    explicit TSingleInstance(std::string folder = RuntimeFolder());
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // True when this is the only copy: the lock is taken and kept until destruction.
    // A lock file that cannot be opened at all lets the program run rather than keep
    // the user out of it.
    bool Acquire();
    const std::string& LockPath() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
};

} // namespace nb
