#pragma once

#include "platform/launcher.h"

namespace vendura {

class Dialogs;

// ShutdownSystem: asks the platform to shut the machine down or restart it. A refusal (no
// right to do it, no service to do it) is told as "Error detected", the module and the call
// that failed with the platform's own words. The program ends in either case.
void ShutdownSystem(ShutdownMode mode, Launcher& launcher, Dialogs& dialogs,
                    ProgramEnd& programEnd);

}  // namespace vendura
