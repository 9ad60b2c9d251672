#include "platform/process_launcher.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include "platform/result.h"

namespace vendura {

bool ProcessLauncher::start(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments, QFileInfo(program).absolutePath());
}

bool ProcessLauncher::openDocument(const QString& path) {
    return QProcess::startDetached(u"xdg-open"_s, {path});
}

Result<void> ProcessLauncher::shutdown(ShutdownMode mode) {
    const QString verb = mode == ShutdownMode::PowerOff ? u"poweroff"_s : u"reboot"_s;
    QString said;
    // a refused orderly request is tried once more with force, as the counter always did
    for (const QStringList& arguments : {QStringList{verb}, QStringList{verb, u"--force"_s}}) {
        QProcess systemctl;
        systemctl.start(u"systemctl"_s, arguments);
        if (!systemctl.waitForFinished(30000)) {
            said = systemctl.errorString();
            continue;
        }
        if (systemctl.exitStatus() == QProcess::NormalExit && systemctl.exitCode() == 0) return {};
        said = QString::fromLocal8Bit(systemctl.readAllStandardError()).trimmed();
    }
    return Error{1, u"systemctl "_s + verb + u": "_s + said};
}

void EventLoopEnd::end() {
    QCoreApplication::exit(0);
}

}  // namespace vendura
