#include "ui/menu_items.h"

#include <cstring>

#include "machine/disk_system.h"
#include "ui/panel_controls.h"
#include "ui/status_panel.h"

namespace disk {
namespace {

constexpr std::uint32_t kMenuIdFdd1 = 4;
constexpr std::uint32_t kMenuIdFdd2 = 5;

std::uint32_t CopyLabel(int drive, char* buffer) {
  const char* label = MenuLabel(drive);
  std::size_t length = std::strlen(label) + 1;
  std::memcpy(buffer, label, length);
  return static_cast<std::uint32_t>(length);
}

template <int Drive>
void MHW_CALL Click() {
  PressPanelButton(MenuCommand(Drive));
}
template <int Drive>
std::uint32_t MHW_CALL Label(char* buffer) {
  return CopyLabel(Drive, buffer);
}

}  // namespace

const char* MenuLabel(int drive) {
  const RealDriveRecord& record = TheDiskSystem().realDrives[drive];
  if (record.useImage != 0) return "  --  ";
  return record.inserted != 0 ? "Eject " : "Set   ";
}

int MenuCommand(int drive) {
  const RealDriveRecord& record = TheDiskSystem().realDrives[drive];
  return record.useImage != 0 ? panel::ImageButton(drive) : panel::EjectButton(drive);
}

void RegisterMenuItems(MhwRegisterMenu registerMenu) {
  registerMenu(kMenuIdFdd1, "FDD1", &Click<0>, &Label<0>);
  registerMenu(kMenuIdFdd2, "FDD2", &Click<1>, &Label<1>);
}

}  // namespace disk
