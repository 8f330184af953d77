// Exit codes of kelvara-cli, shared by all its commands.
#pragma once

namespace kelvara {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitFile = 2;
constexpr int kExitRejected = 3;
constexpr int kExitFindings = 4;

} // namespace kelvara
