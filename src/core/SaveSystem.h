// The system calls through which files are saved. Saving goes through this seam so that tests
// can make any single call fail, or kill the process at any step, without touching the C library.
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace kelvara {

class SaveSystem {
public:
    virtual ~SaveSystem() = default;
    // Each returns what the system call returns and leaves errno set on failure.
    virtual int Open(const std::string& path, int flags, mode_t mode);
    virtual ssize_t Write(int fd, const void* data, size_t size);
    virtual int Fsync(int fd);
    virtual int Close(int fd);
    // Never replaces an existing destination.
    virtual int RenameNoReplace(const std::string& from, const std::string& to);
    // Replaces the destination in one step.
    virtual int RenameReplace(const std::string& from, const std::string& to);
    virtual int Unlink(const std::string& path);
    // Makes the renames inside the folder that holds path survive a power cut.
    virtual int SyncFolderOf(const std::string& path);
};

// The real system; tests swap in another one for the duration of a save.
[[nodiscard]] SaveSystem& CurrentSaveSystem();
void SetSaveSystem(SaveSystem* system); // nullptr restores the real one

// Writes all of size bytes, going on after short writes. A write that makes no progress counts
// as a full disk.
[[nodiscard]] bool WriteFully(SaveSystem& system, int fd, const void* data, size_t size);

} // namespace kelvara
