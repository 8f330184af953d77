#include "AirFileWriter.h"

#include "ByteIO.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvara {

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// A rename that fails instead of replacing an existing destination.
bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // File systems without RENAME_NOREPLACE: link() refuses an existing destination too.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    return ::unlink(from.c_str()) == 0;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolder(const std::string& path) {
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string Reason(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

SaveNames NamesFromBase(const std::string& base, std::string target) {
    SaveNames names;
    names.target = std::move(target);
    names.temporary = base + "kvr.air";
    for (size_t i = 0; i < names.backups.size(); ++i) {
        names.backups[i] = base + "kvr" + std::to_string(i + 1) + ".air";
    }
    return names;
}

// A link is saved through: the file it points to gets the new version and the backups.
std::string ResolveLink(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        return path;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path;
    }
    std::string target = resolved;
    std::free(resolved);
    return target;
}

} // namespace

SaveNames SaveNamesForFile(const std::string& linkOrPath) {
    const std::string path = ResolveLink(linkOrPath);
    // Searching back from the end, the first "." or folder separator ends the base.
    const size_t cut = path.find_last_of("./\\");
    const std::string base = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    return NamesFromBase(base, path);
}

SaveNames SaveNamesForFlightModel(const std::string& flightModelPath) {
    const std::string target = flightModelPath + ".air";
    if (ResolveLink(target) != target) {
        return SaveNamesForFile(target);
    }
    return NamesFromBase(flightModelPath + ".", flightModelPath + ".air");
}

std::vector<uint8_t> SerializeAirFile(const RecordTree& tree) {
    size_t total = 0;
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        total += 8 + tree.Root(i)->record.data.size();
    }
    std::vector<uint8_t> out(total);
    size_t pos = 0;
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        const AirRecord& record = tree.Root(i)->record;
        // The length written is always the size of the data that follows it.
        const uint32_t length = static_cast<uint32_t>(record.data.size());
        WriteLE<uint32_t>(out, record.number, pos);
        WriteLE<uint32_t>(out, length, pos + 4);
        if (length > 0) {
            std::memcpy(out.data() + pos + 8, record.data.data(), length);
        }
        pos += 8 + length;
    }
    return out;
}

int WriteAirFile(const RecordTree& tree, const SaveNames& names, std::string* detail) {
    std::string scratch;
    std::string& why = detail ? *detail : scratch;

    const std::vector<uint8_t> bytes = SerializeAirFile(tree);
    const int fd = ::open(names.temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        why = Reason("cannot create", names.temporary);
        return WriteResultCode::CannotWriteTemporary;
    }
    // The new version keeps the mode of the file it replaces; a failure there is not worth a
    // lost save.
    struct stat old;
    if (::stat(names.target.c_str(), &old) == 0) {
        (void)::fchmod(fd, old.st_mode & 07777);
    }
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (!written) {
        why = Reason("cannot write", names.temporary);
    }
    if (::close(fd) != 0 && written) {
        why = Reason("cannot close", names.temporary);
        ::unlink(names.temporary.c_str());
        return WriteResultCode::CannotWriteTemporary;
    }
    if (!written) {
        ::unlink(names.temporary.c_str());
        return WriteResultCode::CannotWriteTemporary;
    }

    struct stat st;
    if (::stat(names.target.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        why = names.target + " is write-protected";
        ::unlink(names.temporary.c_str());
        return WriteResultCode::WriteProtected;
    }

    // Renames done so far, undone in reverse if a later one fails.
    std::vector<std::pair<std::string, std::string>> done;
    auto rollback = [&] {
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            RenameNoReplace(it->second, it->first);
        }
        ::unlink(names.temporary.c_str());
    };
    auto move = [&](const std::string& from, const std::string& to) {
        if (!Exists(from)) {
            return true;
        }
        if (!RenameNoReplace(from, to)) {
            why = Reason("cannot rename " + from + " to", to);
            return false;
        }
        done.emplace_back(from, to);
        return true;
    };

    // The oldest backup is parked, not deleted, until the new file is in place.
    std::string parked;
    if (Exists(names.backups[4])) {
        for (int i = 0; i < 100 && parked.empty(); ++i) {
            const std::string candidate = names.backups[4] + ".old" + std::to_string(i);
            if (!Exists(candidate)) {
                parked = candidate;
            }
        }
        if (parked.empty() || !move(names.backups[4], parked)) {
            if (parked.empty()) {
                why = "no free name to set " + names.backups[4] + " aside";
            }
            rollback();
            return WriteResultCode::BackupFailed;
        }
    }
    for (int i = 3; i >= 0; --i) {
        if (!move(names.backups[static_cast<size_t>(i)], names.backups[static_cast<size_t>(i) + 1])) {
            rollback();
            return WriteResultCode::BackupFailed;
        }
    }
    if (!move(names.target, names.backups[0]) || !RenameNoReplace(names.temporary, names.target)) {
        if (why.empty()) {
            why = Reason("cannot rename " + names.temporary + " to", names.target);
        }
        rollback();
        return WriteResultCode::BackupFailed;
    }
    if (!parked.empty()) {
        ::unlink(parked.c_str());
    }
    SyncFolder(names.target);
    why.clear();
    return WriteResultCode::Ok;
}

} // namespace kelvara
