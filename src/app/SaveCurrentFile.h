// "Save aircraft": writes the loaded file when it has unsaved edits and tells the user how it
// went, in the user's language.
#pragma once

#include "AirFileWriter.h"

#include <functional>
#include <string>

namespace kelvara {

class ChangeTracker;
class RecordTree;
class UserPrompts;

// Returns the writer's result, or 0 without writing when nothing changed. When the file or its
// folder is read-only, says so and, with saveAs given, offers it (and runs it on Yes).
int SaveCurrentFile(const RecordTree& tree, const SaveNames& names, ChangeTracker& changes,
                    UserPrompts& prompts, bool german, const std::function<void()>& saveAs = {});

// "Save As": writes the tree to names whether or not it changed, with the same temporary file,
// checks and backups, and reports like SaveCurrentFile.
int SaveFileAs(const RecordTree& tree, const SaveNames& names, ChangeTracker& changes,
               UserPrompts& prompts, bool german);

// The file or folder that keeps a failed save from writing because it is read-only; empty
// when the failure had another cause.
[[nodiscard]] std::string ReadOnlyPlace(const SaveNames& names, int result);

} // namespace kelvara
