// "kelvara-cli scan": the aircraft scan from the command line.
#pragma once

namespace kelvara {

// argv[1] is "scan". Prints one line per titled variation, sorted as the all-aircraft list:
// the list text, a tab, and the variation's ".air" path. 0 success, 1 usage, 2 no candidate.
int RunScanCommand(int argc, char** argv);

} // namespace kelvara
