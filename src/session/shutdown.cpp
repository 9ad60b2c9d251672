#include "session/shutdown.h"

#include "platform/dialogs.h"
#include "session/server_link.h"

namespace vendura {

void ShutdownSystem(ShutdownMode mode, Launcher& launcher, Dialogs& dialogs,
                    ProgramEnd& programEnd) {
    const Result<void> done = launcher.shutdown(mode);
    if (!done) {
        dialogs.message(DialogIcon::Critical, kTituloAtencion,
                        u"Error detected\rModule:  clsReboot.SetShutdownPriviledge\rAPI Call:  "_s +
                            done.error().description);
    }
    programEnd.end();
}

}  // namespace vendura
