// The external disk editor that the Edit buttons of the hard-disk rows start.
#pragma once

#include <string>

namespace disk {

// "editor" "image" /S
std::string EditorCommandLine(const char* editor, const char* image);
// Starts the editor on the row's image and waits until it ends; rows below 2 do nothing.
void LaunchEditor(int row);

}  // namespace disk
