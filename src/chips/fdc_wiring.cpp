#include "chips/floppy_controller.h"
#include "media/floppy_drive.h"

namespace disk {
namespace {

void RecordToIndex(FloppyController& controller) {
  controller.idR = 1;
}

}  // namespace

void FloppyController::Connect(const Wiring& wiring) {
  wiring_ = wiring;
  for (FloppyDrive* drive : wiring_.drives) {
    if (drive == nullptr) continue;
    drive->controller = this;
    drive->onIndex = &RecordToIndex;
  }
}

}  // namespace disk
