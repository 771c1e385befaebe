// Small helpers on the 8-bit Windows-style paths the dialogs handle.
#pragma once

namespace disk {

// Appends `extension` (".MFD") when the file name after the last folder separator has none.
void AddDefaultExtension(char* path, int size, const char* extension);
// The drive and folder of `path`, ending in its separator ("C:\IMG\" of "C:\IMG\GAME.D88").
void FolderOf(const char* path, char* folder, int size);
// Percentage of done in total for a progress bar, 0 to 100.
int ProgressPercent(int done, int total);

}  // namespace disk
