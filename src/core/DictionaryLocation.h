// Where the programs look for the record dictionary KVR.ini, in the build folder and when
// installed under a prefix, and which copy a run reads.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

inline constexpr const char* kDictionaryFileName = "KVR.ini";

struct DictionaryLookup {
    std::string path; // the copy to read; empty when none was found
    std::vector<std::string> searched; // every place looked at, first one wins
    [[nodiscard]] bool Found() const { return !path.empty(); }
};

// In order of precedence: the user's own copy in $XDG_DATA_HOME/kelvara (default
// ~/.local/share/kelvara), so that it can be changed without root; next to the program (the
// build folder, a Windows-like folder); the installed <prefix>/share/kelvara. Relative folders
// are skipped: the dictionary never comes from wherever the program happens to be started.
[[nodiscard]] std::vector<std::string> DictionaryCandidates(std::string_view programFolder,
                                                            std::string_view xdgDataHome,
                                                            std::string_view home);

// The first candidate that is a readable file, with this process's environment.
[[nodiscard]] DictionaryLookup FindDictionary(std::string_view programFolder);

// A program in an installed tree: no KVR.ini beside it, one in <prefix>/share/kelvara.
[[nodiscard]] bool IsInstalledProgram(std::string_view programFolder);

// One line for the About box and the debug log.
[[nodiscard]] std::string DictionaryLookupText(const DictionaryLookup& lookup);

// $HOME, or the password database's home folder.
[[nodiscard]] std::string HomeFolder();

// The folder of the running program file; empty when it cannot be known.
[[nodiscard]] std::string ExecutableFolder();

} // namespace kelvara
