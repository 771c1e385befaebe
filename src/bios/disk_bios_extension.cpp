// The hook through which other modules serve further device classes of the disk BIOS.
#include "bios/device_class.h"
#include "machine/disk_system.h"
#include "machine/machine_handlers.h"

namespace disk {

std::uint32_t MHW_CALL RegisterDiskBiosHandler(std::uint32_t da, MhwDiskBiosHandler handler) {
  const unsigned deviceClass = DeviceClass(static_cast<std::uint8_t>(da));
  // The classes this module serves itself are never handed out; an entry is never replaced.
  if (IsHardDiskClass(deviceClass) || IsFloppyClass(deviceClass)) return 0;
  MhwWord& entry = TheDiskSystem().biosExtension.handlers[deviceClass];
  if (entry != 0) return 0;
  entry = reinterpret_cast<MhwWord>(handler);
  return 1;
}

}  // namespace disk
