#pragma once

#include "platform/launcher.h"

namespace vendura {

// Programs through QProcess, documents through xdg-open, shutdown through systemctl.
class ProcessLauncher final : public Launcher {
  public:
    bool start(const QString& program, const QStringList& arguments) override;
    bool openDocument(const QString& path) override;
    Result<void> shutdown(ShutdownMode mode) override;
};

class EventLoopEnd final : public ProgramEnd {
  public:
    void end() override;
};

}  // namespace vendura
