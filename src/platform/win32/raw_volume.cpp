// Real floppy drives on Windows: the volume "\\.\A:" on the NT family, the VWIN32 device's
// absolute disk services on the 9x family.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/raw_volume.h"

namespace platform {

bool DefaultRawVolumePath(char letter, char* path, std::uint32_t size) {
  int written = std::snprintf(path, size, "\\\\.\\%c:", letter);
  return written > 0 && static_cast<std::uint32_t>(written) < size;
}

namespace {

// Unbuffered volume transfers need sector-aligned memory; callers' buffers need not be, so the
// data pass through a page-aligned buffer of our own.
bool Transfer(char letter, std::uint32_t position, void* buffer, std::uint32_t count, bool write) {
  char path[MAX_PATH];
  if (!RawVolumePath(letter, path, sizeof path)) return false;
  HANDLE volume =
      CreateFileA(path, write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
  if (volume == INVALID_HANDLE_VALUE) return false;
  void* aligned =
      count == 0 ? nullptr : VirtualAlloc(nullptr, count, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  DWORD moved = 0;
  bool ok = (count == 0 || aligned != nullptr) &&
            SetFilePointer(volume, static_cast<LONG>(position), nullptr, FILE_BEGIN) !=
                INVALID_SET_FILE_POINTER;
  if (ok && write) {
    if (count != 0) std::memcpy(aligned, buffer, count);
    ok = WriteFile(volume, aligned, count, &moved, nullptr) != 0 && moved == count;
  } else if (ok) {
    ok = ReadFile(volume, aligned, count, &moved, nullptr) != 0;
    if (moved != 0) std::memcpy(buffer, aligned, moved);
    ok = ok && moved == count;
  }
  if (aligned != nullptr) VirtualFree(aligned, 0, MEM_RELEASE);
  CloseHandle(volume);
  return ok;
}

// The absolute-disk-access block of INT 25h/26h and the register block of VWIN32's services.
#pragma pack(push, 1)
struct DiskIo {
  DWORD startSector;
  WORD sectors;
  DWORD buffer;
};
#pragma pack(pop)
struct DiocRegisters {
  DWORD ebx;
  DWORD edx;
  DWORD ecx;
  DWORD eax;
  DWORD edi;
  DWORD esi;
  DWORD flags;
};
static_assert(sizeof(DiocRegisters) == 28);

constexpr DWORD kDiocDosInt25 = 2;  // absolute disk read
constexpr DWORD kDiocDosInt26 = 3;  // absolute disk write
constexpr DWORD kCarryFlag = 0x0001;

}  // namespace

bool ReadRawVolume(char letter, std::uint32_t position, void* buffer, std::uint32_t count) {
  return Transfer(letter, position, buffer, count, false);
}

bool WriteRawVolume(char letter, std::uint32_t position, const void* buffer, std::uint32_t count) {
  return Transfer(letter, position, const_cast<void*>(buffer), count, true);
}

bool Vwin32DiskTransfer(std::uintptr_t vwin32, bool write, std::uint32_t drive,
                        std::uint32_t startSector, std::uint32_t sectors, void* buffer) {
  if (vwin32 == 0) return false;
  // The 9x family is 32-bit only: the buffer address fits the block's 32-bit field there.
  DiskIo io = {startSector, static_cast<WORD>(sectors),
               static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(buffer))};
  DiocRegisters registers = {};
  registers.ebx = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(&io));
  registers.ecx = 0xFFFF;  // the form of the call that takes a DISKIO block
  registers.eax = drive;
  DWORD returned = 0;
  BOOL ok = DeviceIoControl(reinterpret_cast<HANDLE>(vwin32), write ? kDiocDosInt26 : kDiocDosInt25,
                            &registers, sizeof registers, &registers, sizeof registers, &returned,
                            nullptr);
  return ok != 0 && (registers.flags & kCarryFlag) == 0;
}

}  // namespace platform
