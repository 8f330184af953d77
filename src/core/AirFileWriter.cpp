#include "AirFileWriter.h"

#include "ByteIO.h"
#include "SaveSystem.h"

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

std::string Reason(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
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

namespace {

// The file's bytes written through one reused buffer: serializing a large file whole first
// cost more (a zero-filled block the size of the file) than writing it.
bool WriteRecords(SaveSystem& system, int fd, const RecordTree& tree) {
    std::vector<uint8_t> buffer(256 * 1024);
    size_t fill = 0;
    auto flush = [&] {
        const bool ok = WriteFully(system, fd, buffer.data(), fill);
        fill = 0;
        return ok;
    };
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        const AirRecord& record = tree.Root(i)->record;
        // The length written is always the size of the data that follows it.
        const auto length = static_cast<uint32_t>(record.data.size());
        if (buffer.size() - fill < 8 + static_cast<size_t>(length) && fill > 0 && !flush()) {
            return false;
        }
        WriteLE<uint32_t>(buffer, record.number, fill);
        WriteLE<uint32_t>(buffer, length, fill + 4);
        fill += 8;
        if (length > buffer.size() - fill) {
            if (!flush() || !WriteFully(system, fd, record.data.data(), length)) {
                return false;
            }
        } else if (length > 0) {
            std::memcpy(buffer.data() + fill, record.data.data(), length);
            fill += length;
        }
    }
    return fill == 0 || flush();
}

} // namespace

int WriteAirFile(const RecordTree& tree, const SaveNames& names, std::string* detail) {
    std::string scratch;
    std::string& why = detail ? *detail : scratch;
    why.clear();
    SaveSystem& system = CurrentSaveSystem();

    struct stat old;
    const bool targetExists = ::stat(names.target.c_str(), &old) == 0;
    if (targetExists && (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        why = names.target + " is write-protected";
        return WriteResultCode::WriteProtected;
    }

    const int fd = system.Open(names.temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        why = Reason("cannot create", names.temporary);
        return WriteResultCode::CannotWriteTemporary;
    }
    // The new version keeps the mode of the file it replaces; a failure there is not worth a
    // lost save.
    if (targetExists) {
        (void)::fchmod(fd, old.st_mode & 07777);
    }
    bool written = WriteRecords(system, fd, tree);
    if (!written) {
        why = Reason("cannot write", names.temporary);
    } else if (system.Fsync(fd) != 0) {
        why = Reason("cannot flush", names.temporary);
        written = false;
    }
    // close() is checked even after a failure: some file systems report the lost write only here.
    if (system.Close(fd) != 0 && written) {
        why = Reason("cannot close", names.temporary);
        written = false;
    }
    if (!written) {
        (void)system.Unlink(names.temporary);
        return WriteResultCode::CannotWriteTemporary;
    }

    // Renames done so far, undone in reverse if a later one fails.
    std::vector<std::pair<std::string, std::string>> done;
    auto rollback = [&] {
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            (void)system.RenameNoReplace(it->second, it->first);
        }
        (void)system.Unlink(names.temporary);
        (void)system.SyncFolderOf(names.target);
    };
    auto move = [&](const std::string& from, const std::string& to) {
        if (!Exists(from)) {
            return true;
        }
        if (system.RenameNoReplace(from, to) != 0) {
            why = Reason("cannot rename " + from + " to", to);
            return false;
        }
        done.emplace_back(from, to);
        return true;
    };

    // The oldest backup is parked, not deleted, until the new file is in place, so that a
    // failure later in the rotation can still put it back.
    std::string parked;
    if (Exists(names.backups[4])) {
        for (int i = 0; i < 100 && parked.empty(); ++i) {
            const std::string candidate = names.backups[4] + ".old" + std::to_string(i);
            if (!Exists(candidate)) {
                parked = candidate;
            }
        }
        if (parked.empty()) {
            why = "no free name to set " + names.backups[4] + " aside";
        }
        if (parked.empty() || !move(names.backups[4], parked)) {
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
    if (!move(names.target, names.backups[0])) {
        rollback();
        return WriteResultCode::BackupFailed;
    }
    if (system.RenameNoReplace(names.temporary, names.target) != 0) {
        why = Reason("cannot rename " + names.temporary + " to", names.target);
        rollback();
        return WriteResultCode::BackupFailed;
    }
    // From here the save is complete. A failed folder sync or a parked backup that will not go
    // cannot undo it; both are reported in detail only.
    if (system.SyncFolderOf(names.target) != 0) {
        why = Reason("cannot sync the folder of", names.target);
    }
    if (!parked.empty() && system.Unlink(parked) != 0) {
        why = Reason("cannot delete", parked);
    }
    // Copies parked by an earlier save that failed to delete them, or was killed, go now.
    for (int i = 0; i < 100; ++i) {
        const std::string leftover = names.backups[4] + ".old" + std::to_string(i);
        if (leftover != parked && Exists(leftover)) {
            (void)system.Unlink(leftover);
        }
    }
    return WriteResultCode::Ok;
}

} // namespace kelvara
