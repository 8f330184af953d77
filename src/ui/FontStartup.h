// Fontconfig reading its XML configuration is a quarter of start-up's work and needs nothing of
// Qt, so the program reads it on another thread while Qt starts and the window builds what does
// not measure text. Only the editor program starts it; elsewhere the waits do nothing.
#pragma once

namespace kelvara {

// Before the application object: starts the reading beside the caller.
void StartReadingFontConfiguration();
// Before the first widget that measures text: waits for the reading, then lets Qt list the fonts
// on another thread while the caller goes on; the caller's first measuring waits for that list.
void WaitForFontConfiguration();
// Before the application object goes: no font thread may outlive it.
void JoinFontThreads();

} // namespace kelvara
