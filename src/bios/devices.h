// The devices of one machine, a part of its root object: the DMA and floppy controllers and the
// six drives, created together on the heap and destroyed together. A failed creation leaves a
// null slot, which every user tests. The floppy controller is wired to floppy drives 0 and 1 and
// to the DMA controller; the rest of its wiring is its owner's.
#pragma once

#include "media/drive_settings.h"

namespace disk {

class DmaController;
class FloppyController;
class FloppyDrive;
class HardDiskDrive;

inline constexpr int kFloppyDriveObjects = 4;  // units 0-3; only 0 and 1 are ever used

struct Devices {
  // Floppy drives 0 and 1 take their real-drive settings from `settings`.
  explicit Devices(DriveSettings& settings);
  ~Devices();
  Devices(const Devices&) = delete;
  Devices& operator=(const Devices&) = delete;

  DmaController* dma = nullptr;
  FloppyController* fdc = nullptr;
  FloppyDrive* floppyDrives[kFloppyDriveObjects] = {};
  HardDiskDrive* hardDisks[kHardDiskCount] = {};
};

}  // namespace disk
