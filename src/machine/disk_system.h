// The module's root object: owns both controllers and the six drives, keeps the host's service
// words, the image paths and the real-drive settings. There is exactly one, reached through
// TheDiskSystem().
#pragma once

#include <atomic>
#include <cstdint>

#include "bios/floppy_call.h"
#include "machine/disk_settings.h"
#include "platform/host_abi.h"

namespace disk {

class DmaController;
class FloppyController;
class FloppyDrive;
class HardDiskDrive;

inline constexpr int kFloppyDriveObjects = 4;
inline constexpr int kHardDiskCount = 2;

struct RealDriveRecord {
  std::uint32_t useImage = 1;  // nonzero: the drive takes image files
  char driveName[kPathSize] = {};
  std::uint8_t is144 = 0;        // the real drive runs 1.44 MB media instead of 1.23 MB
  std::uint32_t inserted = 0;    // the real drive has its media set
  std::uint32_t driveState = 0;  // byte position of the next real-drive transfer
  std::uint8_t writeProtect = 1;
};

class DiskSystem {
 public:
  DiskSystem();
  virtual ~DiskSystem();
  DiskSystem(const DiskSystem&) = delete;
  DiskSystem& operator=(const DiskSystem&) = delete;

  void SetPath(const char* path);
  // Copies the real-drive choices of the settings (use image files, drive letter, media type).
  void TakeRealDriveSettings(const DiskSettings& settings);
  void DeviceEntry(MhwWord* hostTable);
  void DeviceConect(const MhwWord* modules);

  std::uint32_t running = 0;
  char imagePaths[kImageCount][kPathSize] = {};
  std::uint32_t isNT = 0;
  MhwWord* host = nullptr;
  std::uint8_t* registers = nullptr;
  std::uint8_t savedRegisters[mhw::kRegistersSize] = {};
  MhwWord* hostWindowRecord = nullptr;
  char iniPath[kPathSize] = {};
  FloppyDrive* floppyDrives[kFloppyDriveObjects] = {};
  HardDiskDrive* hardDisks[kHardDiskCount] = {};
  DmaController* dma = nullptr;
  FloppyController* fdc = nullptr;

  // Status panel state.
  void* lampOn = nullptr;
  void* lampOff = nullptr;
  MhwWord buttonProc[4] = {};

  std::uint32_t mountDelay[kFloppyUnitCount] = {};
  std::uint32_t fdWaitCount[kFloppyUnitCount] = {};
  std::uint32_t fdWait = 0;

  // Guest memory by linear address (slots 28-33) and by segment:offset (slots 22-27).
  MhwReadByteLinear readByteLinear = nullptr;
  MhwReadWordLinear readWordLinear = nullptr;
  MhwReadDwordLinear readDwordLinear = nullptr;
  MhwWriteByteLinear writeByteLinear = nullptr;
  MhwWriteWordLinear writeWordLinear = nullptr;
  MhwWriteDwordLinear writeDwordLinear = nullptr;
  MhwReadByteSeg readByteSeg = nullptr;
  MhwReadWordSeg readWordSeg = nullptr;
  MhwReadDwordSeg readDwordSeg = nullptr;
  MhwWriteByteSeg writeByteSeg = nullptr;
  MhwWriteWordSeg writeWordSeg = nullptr;
  MhwWriteDwordSeg writeDwordSeg = nullptr;
  MhwRaiseInterrupt raiseInterrupt = nullptr;
  MhwReportLine reportLine = nullptr;
  MhwResume hostResume = nullptr;
  MhwRerunQueue* hostQueue = nullptr;
  MhwCharge chargeCost = nullptr;  // fifth function of slot 40's table

  // The object behind the dialog now showing, one per kind of dialog; null when none shows.
  void* imageSettingDialog = nullptr;
  void* newFloppyDialog = nullptr;
  void* newHardDiskDialog = nullptr;
  void* diskSettingDialog = nullptr;

  RealDriveRecord realDrives[kFloppyUnitCount];
  MhwWord vwin32 = 0;
  std::uint32_t panelBusy = 0;

  // Copies of other modules' tables (DeviceConect); null entries were not provided.
  MhwWord bootSelector[mhw::kBootSelectorFunctions] = {};
  MhwWord dialogMode[mhw::kDialogModeFunctions] = {};
  MhwWord displayMode[mhw::kDisplayModeFunctions] = {};

  MhwDiskBiosExtension biosExtension = {};
  FloppyCallState floppyCall;
};

DiskSystem& TheDiskSystem();

}  // namespace disk
