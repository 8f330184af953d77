#include "SaveSystem.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace kelvara {

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

SaveSystem* gSwapped = nullptr;

} // namespace

int SaveSystem::Open(const std::string& path, int flags, mode_t mode) {
    return ::open(path.c_str(), flags, mode);
}

ssize_t SaveSystem::Write(int fd, const void* data, size_t size) {
    return ::write(fd, data, size);
}

int SaveSystem::Fsync(int fd) {
    return ::fsync(fd);
}

int SaveSystem::Close(int fd) {
    return ::close(fd);
}

int SaveSystem::RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
    // File systems without RENAME_NOREPLACE: link() refuses an existing destination too.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return -1;
    }
    return ::unlink(from.c_str());
}

int SaveSystem::RenameReplace(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str());
}

int SaveSystem::Unlink(const std::string& path) {
    return ::unlink(path.c_str());
}

int SaveSystem::SyncFolderOf(const std::string& path) {
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    const int result = ::fsync(fd);
    ::close(fd);
    return result;
}

SaveSystem& CurrentSaveSystem() {
    static SaveSystem real;
    return gSwapped ? *gSwapped : real;
}

void SetSaveSystem(SaveSystem* system) {
    gSwapped = system;
}

bool WriteFully(SaveSystem& system, int fd, const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = system.Write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace kelvara
