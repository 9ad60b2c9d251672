#include "platform/http_download.h"
#include "platform/pq_gateway.h"
#include "platform/process_launcher.h"
#include "platform/screens/message_box_dialogs.h"
#include "platform/single_instance.h"
#include "session/installation.h"
#include "session/screens/startup_screen.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

using namespace vendura;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Installation installation;
    installation.programFolder = QCoreApplication::applicationDirPath();
    const QString windir = qEnvironmentVariable("WINDIR");
    installation.journalFolder = windir.isEmpty() ? installation.programFolder : windir;
    installation.lockPath = QDir::tempPath() + u"/vendura.lock"_s;

    SingleInstance instance(installation.lockPath);
    if (!instance.acquired()) return 0;

    Session session;
    PqConnector connector;
    MessageBoxDialogs dialogs;
    ProcessLauncher launcher;
    EventLoopEnd programEnd;
    HttpDownload http;
    ServerLink link(session, connector, dialogs, installation);

    StartupScreen startup(link, launcher, programEnd, http, [] {});
    startup.show();
    return app.exec();
}
