// The buttons of the status panel rows that open a dialog or a program: the image path (an
// open-file dialog), New/Setting (the new image and image file setting dialogs) and Edit (the
// external disk editor).
#pragma once

#include <string>

namespace disk {

class DiskSystem;
class StatusPanel;
struct ModuleLinks;

// Lets the user pick an image for the row from an open-file dialog.
void OpenImageDialog(StatusPanel& panel, int row);
// "New": the new image dialog of the row; "Setting": the image file setting dialog.
void NewOrSetting(StatusPanel& panel, int row);

// The host's dialog mode (other modules' display-mode tables): the module then owns its file
// dialogs by the host's main window and moves them to the top-left corner.
bool HostDialogModeOn(const ModuleLinks& links);
// Tells the host a file dialog has closed.
void NotifyHostDialogClosed(const ModuleLinks& links);

// Filter lists of the open-image dialog (description/pattern pairs, NUL separated).
const char* ImageFilter(int row);

// "editor" "image" /S
std::string EditorCommandLine(const char* editor, const char* image);
// Starts the editor on the row's image and waits until it ends; rows below 2 do nothing.
void LaunchEditor(const DiskSystem& system, int row);

}  // namespace disk
