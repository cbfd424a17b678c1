// Real file-system faults for the fault tests: a small tmpfs that fills up, and a folder
// bound read-only over itself. Mounting needs a private mount namespace (root, or a
// container that allows it); where the machine refuses, the tests fall back to the file
// layer's write-failure seam and say so.
#pragma once

#include <sched.h>
#include <sys/mount.h>

#include <cstdio>
#include <string>

namespace nbtest {

// Moves this process into a mount namespace of its own, once; mounts made afterwards are
// seen by no other process and vanish with it. Call before threads are started.
inline bool PrivateMounts() {
    static const bool ok = [] {
        if (::unshare(CLONE_NEWNS) != 0) return false;
        return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }();
    return ok;
}

// One mount over a folder, undone when the object goes (before the folder is removed).
class TMount {
public:
    TMount() = default;
    ~TMount() { Undo(); }
    TMount(const TMount&) = delete;
    TMount& operator=(const TMount&) = delete;

    // A tmpfs of `bytes` over `dir` (its old content is hidden while mounted).
    bool Tmpfs(const std::string& dir, size_t bytes) {
        if (!PrivateMounts()) return false;
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
        if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) != 0) return false;
        target_ = dir;
        return true;
    }
    // `dir` bound over itself read-only: even root cannot write below it.
    bool ReadOnly(const std::string& dir) {
        if (!PrivateMounts()) return false;
        if (::mount(dir.c_str(), dir.c_str(), nullptr, MS_BIND, nullptr) != 0) return false;
        target_ = dir;
        return ::mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }
    void Undo() {
        if (!target_.empty()) ::umount2(target_.c_str(), MNT_DETACH);
        target_.clear();
    }

private:
    std::string target_;
};

inline void NoteSeamFallback(const char* what) {
    std::printf("[ note ] mounting is not permitted here: %s is simulated by the write-failure seam\n",
                what);
}

} // namespace nbtest
