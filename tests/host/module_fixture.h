// A reference host with the module file attached, on a scratch INI file.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "reference_host.h"
#include "support/scratch.h"

namespace testing_support {

// disk.mhw lies beside the test program; tests run in that folder.
#if defined(_WIN32)
inline constexpr const char* kModuleFile = "disk.mhw";
#else
inline constexpr const char* kModuleFile = "./disk.mhw";
#endif

class ModuleTest : public ::testing::Test {
 protected:
  // Writes the INI text and attaches the module to a fresh host.
  void Attach(const std::string& iniText = "") {
    if (!iniText.empty()) WriteText(ini, iniText);
    host = std::make_unique<mhwhost::ReferenceHost>();
    Configure(*host);
    // Nothing of a test means anything without the module: stop the test here.
    if (!host->Attach(kModuleFile, ini))
      throw std::runtime_error("cannot attach the module: " + host->module().error());
  }
  virtual void Configure(mhwhost::ReferenceHost&) {}
  void TearDown() override { host.reset(); }

  ScratchDir dir;
  std::string ini = dir.File("host.ini");
  std::unique_ptr<mhwhost::ReferenceHost> host;
};

}  // namespace testing_support
