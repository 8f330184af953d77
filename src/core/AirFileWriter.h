// Writes the record tree back as an ".air" file: a temporary file first, checked to the
// last byte, then rotated into place behind five backups with renames that never overwrite.
#pragma once

#include "RecordTree.h"

#include <array>
#include <string>
#include <vector>

namespace kelvara {

namespace WriteResultCode {
inline constexpr int Ok = 0;
inline constexpr int CannotWriteTemporary = -1;
inline constexpr int BackupFailed = -3;
inline constexpr int WriteProtected = -4;
} // namespace WriteResultCode

struct SaveNames {
    std::string target;
    std::string temporary;
    std::array<std::string, 5> backups; // [0] newest ... [4] oldest
};

// File mode: backups next to the loaded file ("plane.air" -> "plane.kvr1.air").
[[nodiscard]] SaveNames SaveNamesForFile(const std::string& path);
// Library mode: the variation's flight-model path without ".air".
[[nodiscard]] SaveNames SaveNamesForFlightModel(const std::string& flightModelPath);

// Every record in tree order (fields skipped) as number, length and data.
[[nodiscard]] std::vector<uint8_t> SerializeAirFile(const RecordTree& tree);

// 0 on success; -1 the temporary file could not be written completely, -3 a backup could not
// be moved, -4 the target is write-protected. On failure the target and all backups are as
// they were and the temporary file is gone. detail receives the system's reason; after a
// success it names a folder sync or an old backup's deletion that failed, if one did.
// Every system call goes through CurrentSaveSystem().
int WriteAirFile(const RecordTree& tree, const SaveNames& names, std::string* detail = nullptr);

} // namespace kelvara
