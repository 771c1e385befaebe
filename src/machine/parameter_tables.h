// The disk parameter tables of the guest's BIOS: found in its ROM area or built there, and the
// far pointers to them in the work area.
#pragma once

namespace disk {

class DiskSystem;

void SetUpDiskParameterTables(const DiskSystem& system);

}  // namespace disk
