// The module with an MFD image in floppy unit 0, mounted by the BIOS start-up from the INI
// file, and the guest's side of the floppy controller's handshake.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/module_fixture.h"
#include "support/fdc_guest.h"
#include "support/floppy_images.h"

namespace testing_support {

class FdcDiskTest : public ModuleTest {
 protected:
  // Writes the image (R0 unless asked otherwise), powers the machine on with it in unit 0.
  void BootWith(const DiskSpec& disk, bool r1 = false) {
    if (host) {  // a second disk: the machine before it goes off first
      host->PowerOff();
      fdc.reset();
      host.reset();
    }
    WriteAll(image, r1 ? BuildR1(disk) : BuildR0(disk));
    Attach("[DISK]\nDISK00=" + image + "\n");
    host->Boot();
    host->TakeInterruptLines();
    fdc.emplace(*host);
  }
  void TearDown() override {
    // The module keeps the image open until power-off.
    if (host) host->PowerOff();
    fdc.reset();
    ModuleTest::TearDown();
  }

  // The BIOS start-up boots from the disk (reading its first sectors, which moves the rotation)
  // only when a test asks for it.
  void Configure(mhwhost::ReferenceHost& machine) override {
    machine.bootSelector = bootFromFloppy ? 0x00 : 0x80;
  }

  bool bootFromFloppy = false;
  std::string image = dir.File("disk.mfd");
  std::optional<FdcGuest<mhwhost::ReferenceHost>> fdc;
};

}  // namespace testing_support
