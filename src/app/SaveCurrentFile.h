// "Save aircraft": writes the loaded file when it has unsaved edits and tells the user how it
// went, in the user's language.
#pragma once

#include "AirFileWriter.h"

namespace kelvara {

class ChangeTracker;
class RecordTree;
class UserPrompts;

// Returns the writer's result, or 0 without writing when nothing changed.
int SaveCurrentFile(const RecordTree& tree, const SaveNames& names, ChangeTracker& changes,
                    UserPrompts& prompts, bool german);

} // namespace kelvara
