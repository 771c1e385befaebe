#include "formats/floppy_loaders.h"
#include "media/file_image_reader.h"
#include "media/file_routines.h"
#include "media/floppy_drive.h"
#include "media/real_drive.h"

namespace disk {

std::uint32_t FloppyDrive::LoadImage(const char* path) {
  Eject();
  if (const RealDriveRecord* record = RealDrive()) {
    MountRealDrive(*this, *record);
    return 1;
  }

  // A file that cannot be written gives a write-protected disk: better a protected disk than
  // none.
  bool readOnly = false;
  FileHandle handle = OpenImageAsMarked(path, readOnly);
  if (handle == 0) return 0;

  FileImageReader reader(handle);
  if (!ParseImage(reader, *this)) {
    CloseFile(handle);
    ClearTables();
    return 0;
  }
  file = handle;
  platform::CopyString(imagePath, path, sizeof imagePath);
  dataPosition = 0;
  if (readOnly) writeProtect = 1;
  return 1;
}

}  // namespace disk
