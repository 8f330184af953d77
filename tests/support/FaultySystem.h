// A SaveSystem for tests: fails the n-th call of one kind with a chosen errno, or kills the
// process with SIGKILL just before the n-th call of any kind. Writes are cut into short pieces
// so that a fault can strike each of them.
#pragma once

#include "SaveSystem.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvara::test {

enum class Call { Open, Write, Fsync, Close, Rename, Unlink, SyncFolder, Any };

class FaultySystem : public SaveSystem {
public:
    static constexpr size_t kWritePiece = 16;

    FaultySystem(Call call, int occurrence, int error = EIO) : mCall(call), mOccurrence(occurrence), mError(error) {}
    static FaultySystem KillBefore(int step) {
        FaultySystem system(Call::Any, step);
        system.mKill = true;
        return system;
    }
    [[nodiscard]] int Steps() const { return mSteps; }

    int Open(const std::string& path, int flags, mode_t mode) override {
        return Hit(Call::Open) ? -1 : SaveSystem::Open(path, flags, mode);
    }
    ssize_t Write(int fd, const void* data, size_t size) override {
        return Hit(Call::Write) ? -1 : SaveSystem::Write(fd, data, std::min(size, kWritePiece));
    }
    int Fsync(int fd) override { return Hit(Call::Fsync) ? -1 : SaveSystem::Fsync(fd); }
    int Close(int fd) override {
        // A failing close still releases the descriptor, as close(2) does.
        const bool fail = Hit(Call::Close);
        const int result = SaveSystem::Close(fd);
        return fail ? (errno = mError, -1) : result;
    }
    int RenameNoReplace(const std::string& from, const std::string& to) override {
        return Hit(Call::Rename) ? -1 : SaveSystem::RenameNoReplace(from, to);
    }
    int RenameReplace(const std::string& from, const std::string& to) override {
        return Hit(Call::Rename) ? -1 : SaveSystem::RenameReplace(from, to);
    }
    int Unlink(const std::string& path) override { return Hit(Call::Unlink) ? -1 : SaveSystem::Unlink(path); }
    int SyncFolderOf(const std::string& path) override {
        return Hit(Call::SyncFolder) ? -1 : SaveSystem::SyncFolderOf(path);
    }

private:
    bool Hit(Call call) {
        ++mSteps;
        if (mKill) {
            if (mSteps == mOccurrence) {
                std::raise(SIGKILL);
            }
            return false;
        }
        if (call != mCall || ++mSeen != mOccurrence) {
            return false;
        }
        errno = mError;
        return true;
    }

    Call mCall;
    int mOccurrence;
    int mError;
    bool mKill = false;
    int mSeen = 0;
    int mSteps = 0;
};

// Swaps the system in for one scope.
class ScopedSaveSystem {
public:
    explicit ScopedSaveSystem(SaveSystem& system) { SetSaveSystem(&system); }
    ~ScopedSaveSystem() { SetSaveSystem(nullptr); }
    ScopedSaveSystem(const ScopedSaveSystem&) = delete;
    ScopedSaveSystem& operator=(const ScopedSaveSystem&) = delete;
};

// The number of system calls one save makes.
template <typename Save> int CountSteps(const Save& save) {
    FaultySystem counting(Call::Any, 0);
    ScopedSaveSystem scoped(counting);
    save();
    return counting.Steps();
}

// Runs the save in a child process killed just before its step-th system call; true when
// that kill ended it.
template <typename Save> bool KilledBefore(int step, const Save& save) {
    const pid_t child = ::fork();
    if (child == 0) {
        FaultySystem killer = FaultySystem::KillBefore(step);
        SetSaveSystem(&killer);
        save();
        ::_exit(0);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status) &&
           WTERMSIG(status) == SIGKILL;
}

} // namespace kelvara::test
