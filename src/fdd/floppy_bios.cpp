#include "fdd/floppy_bios.h"

namespace disk {

// The BIOS operations come with the controller's command engine, which they drive; until then
// every call fails and no disk boots.
std::uint32_t ExecuteBiosCall(FloppyDrive&) {
  return 0;
}
bool LoadBootSector(FloppyDrive&) {
  return false;
}

}  // namespace disk
