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

void Report(const HostLink& host, const char* line) {
  if (host.reportLine != nullptr) host.reportLine(line);
}

void ReportFloppy(const HostLink& host, int n, const RealDriveRecord& record) {
  char line[300];
  if (record.useImage == 0)
    std::snprintf(line, sizeof line, "  FDD%d : Drive-%s", n, record.driveName);
  else
    std::snprintf(line, sizeof line, "  FDD%d : Image file", n);
  Report(host, line);
}

void ReportHardDisk(const HostLink& host, int n, const char* path) {
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
  Report(host, line);
}

}  // namespace

void ResetDevices(DiskSystem& system) {
  DriveSettings& drives = system.settings;
  const HostLink& host = system.hostLink;
  DiskSettings settings(drives.iniPath);
  // First, so that a floppy worker still running is over before its controller is reset.
  ForgetPendingFloppyCall(system.bios);
  if (system.devices.dma != nullptr) system.devices.dma->Reset();
  if (system.devices.fdc != nullptr) system.devices.fdc->Reset();
  Report(host, "DISK");
  for (int i = 0; i < kFloppyUnitCount; ++i) {
    system.mountDelay[i] = 0;
    system.bios.fdWaitCount[i] = 0;
  }
  settings.LoadFdWait();
  drives.fdWait = settings.fdWait;

  if (platform::IsNtFamily()) {
    drives.isNT = 1;
  } else {
    drives.isNT = 0;
    drives.vwin32 = 0;
    if (drives.realDrives[0].useImage == 0 || drives.realDrives[1].useImage == 0)
      drives.vwin32 = platform::OpenVwin32Device();
  }

  for (int i = 0; i < kFloppyUnitCount; ++i) ReportFloppy(host, i + 1, drives.realDrives[i]);
  for (int i = 0; i < kHardDiskCount; ++i)
    ReportHardDisk(host, i + 1, drives.imagePaths[kFirstHardDiskPath + i]);
}

}  // namespace disk
