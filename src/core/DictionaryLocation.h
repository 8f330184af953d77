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
    bool oldPlace = false; // path is the user's copy in the old place, see DictionaryCandidates
    std::string userPlace; // where a user's own copy belongs
    [[nodiscard]] bool Found() const { return !path.empty(); }
};

// In order of precedence: the user's own copy in $XDG_CONFIG_HOME/kelvara (default
// ~/.config/kelvara), where no install writes; the old place of a user's copy,
// $XDG_DATA_HOME/kelvara (default ~/.local/share/kelvara); next to the program (the build
// folder); the installed <prefix>/share/kelvara. Relative folders are skipped: the dictionary
// never comes from wherever the program happens to be started.
struct DictionaryPlaces {
    std::string user;
    std::string oldUser;
    std::vector<std::string> bundled;
};
[[nodiscard]] DictionaryPlaces DictionaryCandidates(std::string_view programFolder,
                                                    std::string_view xdgConfigHome,
                                                    std::string_view xdgDataHome,
                                                    std::string_view home);

// The first candidate that is a readable file, with this process's environment. A copy in the
// old place counts only while it differs from the bundled one: `cmake --install --prefix
// ~/.local` puts the installed copy exactly there.
[[nodiscard]] DictionaryLookup FindDictionary(std::string_view programFolder);

// The folder of the program's shared data (the installed <prefix>/share/kelvara, or the build
// tree's share/kelvara): samples and the manual. Empty for a relative program folder.
[[nodiscard]] std::string DataFolder(std::string_view programFolder);

// A program in an installed tree: no KVR.ini beside it, one in <prefix>/share/kelvara.
[[nodiscard]] bool IsInstalledProgram(std::string_view programFolder);

// One line for the About box and the debug log; a copy in the old place says where it belongs.
[[nodiscard]] std::string DictionaryLookupText(const DictionaryLookup& lookup);

// $HOME, or the password database's home folder.
[[nodiscard]] std::string HomeFolder();

// The folder of the running program file; empty when it cannot be known.
[[nodiscard]] std::string ExecutableFolder();

} // namespace kelvara
