#include <cstdio>

#include "bios/floppy_call.h"
#include "chips/dma_controller.h"
#include "chips/floppy_controller.h"
#include "machine/disk_system.h"
#include "machine/machine_handlers.h"
#include "media/file_routines.h"
#include "media/hard_disk_drive.h"
#include "platform/system.h"

namespace disk {
namespace {

void Report(const char* line) {
  if (MhwReportLine print = TheDiskSystem().reportLine) print(line);
}

void ReportFloppy(int n, const RealDriveRecord& record) {
  char line[300];
  if (record.useImage == 0)
    std::snprintf(line, sizeof line, "  FDD%d : Drive-%s", n, record.driveName);
  else
    std::snprintf(line, sizeof line, "  FDD%d : Image file", n);
  Report(line);
}

void ReportHardDisk(int n, const char* path) {
  char line[300];
  if (path[0] == '\0') {
    std::snprintf(line, sizeof line, "  HDD%d : None", n);
  } else if (FileHandle file = OpenImageRead(path)) {
    // The same examination as the mount, so that the line says why a disk will not be there.
    HardDiskGeometry geometry;
    const HardDiskRefusal refusal = ExamineHardDiskImage(file, geometry);
    if (refusal == HardDiskRefusal::kNone)
      std::snprintf(line, sizeof line, "  HDD%d : %llu Bytes", n,
                    static_cast<unsigned long long>(FileSize(file)));
    else
      std::snprintf(line, sizeof line, "  HDD%d : Not mounted, %s", n,
                    HardDiskRefusalText(refusal, geometry).c_str());
    CloseFile(file);
  } else {
    // Said plainly, so that a wrong path in the settings shows at once.
    std::snprintf(line, sizeof line, "  HDD%d : Cannot open %s", n, path);
  }
  Report(line);
}

}  // namespace

void MHW_CALL ResetDevices() {
  DiskSystem& system = TheDiskSystem();
  DiskSettings settings(system.iniPath);
  // First, so that a floppy worker still running is over before its controller is reset.
  ForgetPendingFloppyCall();
  if (system.dma != nullptr) system.dma->Reset();
  if (system.fdc != nullptr) system.fdc->Reset();
  Report("DISK");
  for (int i = 0; i < kFloppyUnitCount; ++i) {
    system.mountDelay[i] = 0;
    system.fdWaitCount[i] = 0;
  }
  settings.Load();
  system.fdWait = settings.fdWait;

  if (platform::IsNtFamily()) {
    system.isNT = 1;
  } else {
    system.isNT = 0;
    system.vwin32 = 0;
    if (system.realDrives[0].useImage == 0 || system.realDrives[1].useImage == 0)
      system.vwin32 = platform::OpenVwin32Device();
  }

  for (int i = 0; i < kFloppyUnitCount; ++i) ReportFloppy(i + 1, system.realDrives[i]);
  for (int i = 0; i < kHardDiskCount; ++i) ReportHardDisk(i + 1, system.imagePaths[2 + i]);
}

}  // namespace disk
