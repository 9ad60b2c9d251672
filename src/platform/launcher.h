#pragma once

#include "platform/result.h"

#include <QString>
#include <QStringList>

namespace vendura {

enum class ShutdownMode { PowerOff = 1, Restart = 2 };

// Starts programs outside vendura: the updater, the help file, the machine's shutdown.
class Launcher {
  public:
    virtual ~Launcher() = default;
    // Starts a program without waiting for it; false when it could not be started.
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
    // Opens a document with the desktop's viewer for it.
    virtual bool openDocument(const QString& path) = 0;
    // Shuts the machine down or restarts it; the error names the platform's call and its own
    // words when the platform refused.
    virtual Result<void> shutdown(ShutdownMode mode) = 0;
};

// Ends the program: the event loop stops once the current handler returns.
class ProgramEnd {
  public:
    virtual ~ProgramEnd() = default;
    virtual void end() = 0;
};

}  // namespace vendura
