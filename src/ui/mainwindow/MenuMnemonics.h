// Alt-key access for menus whose captions come from the language table without mnemonics.
#pragma once

class QMenuBar;

namespace kelvara {

// Gives every menu and menu entry that has none a mnemonic: the first letter of a word not yet
// taken in its menu, else any free letter. Run again after captions change.
void AssignMnemonics(QMenuBar* bar);

} // namespace kelvara
