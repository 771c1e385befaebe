// Starting another program.
#pragma once

namespace platform {

// Starts the Windows-style command line (the first word, quoted or not, names the program) with
// the module's environment and current folder, and waits without time-out until it ends. False
// when it could not be started.
bool RunProcessAndWait(const char* commandLine);

}  // namespace platform
