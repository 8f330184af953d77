#include "FileBytes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvara {

int OpenRegularFile(const std::string& path, uint64_t maxSize, FileReadResult& result) {
    auto fail = [&](FileReadStatus status, std::string message) {
        result.status = status;
        result.bytes.clear();
        result.message = std::move(message);
        return -1;
    };
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        return fail(FileReadStatus::CannotOpen, "cannot open " + path + ": " + std::strerror(errno));
    }
    if (!S_ISREG(st.st_mode)) {
        return fail(FileReadStatus::NotRegular, path + " is not a regular file");
    }
    // O_NONBLOCK: should the name be swapped for a FIFO after the check, open still returns.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return fail(FileReadStatus::CannotOpen, "cannot open " + path + ": " + std::strerror(errno));
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(FileReadStatus::NotRegular, path + " is not a regular file");
    }
    result.size = static_cast<uint64_t>(st.st_size);
    if (result.size > maxSize) {
        ::close(fd);
        return fail(FileReadStatus::TooLarge, path + " is too large");
    }
    return fd;
}

FileReadResult ReadRegularFile(const std::string& path, uint64_t maxSize) {
    FileReadResult result;
    const int fd = OpenRegularFile(path, maxSize, result);
    if (fd < 0) {
        return result;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    result.bytes.resize(static_cast<size_t>(result.size));
    size_t done = 0;
    while (done < result.bytes.size()) {
        const ssize_t n = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            result.status = FileReadStatus::CannotOpen;
            result.bytes.clear();
            result.message = "cannot read " + path + ": " + std::strerror(errno);
            return result;
        }
        if (n == 0) {
            break; // the file shrank while it was read
        }
        done += static_cast<size_t>(n);
    }
    result.bytes.resize(done);
    return result;
}

} // namespace kelvara
