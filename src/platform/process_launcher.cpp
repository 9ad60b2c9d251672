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

bool ProcessLauncher::shutdown(ShutdownMode mode) {
    const QString verb = mode == ShutdownMode::PowerOff ? u"poweroff"_s : u"reboot"_s;
    // a refused orderly request is tried once more with force, as the counter always did
    if (QProcess::execute(u"systemctl"_s, {verb}) == 0) return true;
    return QProcess::execute(u"systemctl"_s, {verb, u"--force"_s}) == 0;
}

void EventLoopEnd::end() {
    QCoreApplication::exit(0);
}

}  // namespace vendura
