// The image-path and New/Setting buttons of the status panel rows.
#pragma once

namespace disk {

// Lets the user pick an image for the row from an open-file dialog.
void OpenImageDialog(int row);
// "New": the new image dialog of the row; "Setting": the image file setting dialog.
void NewOrSetting(int row);

// The host's dialog mode (other modules' display-mode tables): the module then owns its file
// dialogs by the host's main window and moves them to the top-left corner.
bool HostDialogModeOn();
// Tells the host a file dialog has closed.
void NotifyHostDialogClosed();

// Filter lists of the open-image dialog (description/pattern pairs, NUL separated).
const char* ImageFilter(int row);

}  // namespace disk
