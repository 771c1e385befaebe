// The disk parameter tables of the guest's BIOS: found in its ROM area or built there, and the
// far pointers to them in the work area.
#pragma once

namespace disk {

struct HostLink;

void SetUpDiskParameterTables(const HostLink& host);

}  // namespace disk
