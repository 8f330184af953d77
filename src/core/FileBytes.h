// Reads a whole file of outside bytes, refusing folders, FIFOs and devices before opening them:
// a FIFO would block the reader and a folder has no size.
#pragma once

#include <cstdint>
#include <string>

namespace kelvara {

enum class FileReadStatus { Ok, CannotOpen, NotRegular, TooLarge };

struct FileReadResult {
    FileReadStatus status = FileReadStatus::Ok;
    std::string bytes;
    uint64_t size = 0;   // the file's size, also when it is too large
    std::string message; // what went wrong, naming the file
};

[[nodiscard]] FileReadResult ReadRegularFile(const std::string& path, uint64_t maxSize);

// Opens a regular file of at most maxSize bytes for reading, for readers that stream it: the
// descriptor (the caller closes it), or -1 with result's status and message set. result.size
// receives the file's size; result.bytes stays empty.
[[nodiscard]] int OpenRegularFile(const std::string& path, uint64_t maxSize, FileReadResult& result);

} // namespace kelvara
