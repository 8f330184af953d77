// Conversion between the Windows-1252 code page of record and configuration texts and UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvara {

// Record and configuration texts are Windows-1252; the five bytes it leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to U+0081 etc. so every byte round-trips.
[[nodiscard]] std::string Windows1252ToUtf8(std::string_view bytes);

// std::nullopt when a character has no Windows-1252 byte (the caller refuses the edit).
[[nodiscard]] std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

[[nodiscard]] bool IsValidUtf8(std::string_view bytes);

// Configuration values: UTF-16 after its byte-order mark; UTF-8 (a leading byte-order mark
// dropped) when valid UTF-8; else Windows-1252.
[[nodiscard]] std::string DecodeConfigText(std::string_view bytes);

} // namespace kelvara
