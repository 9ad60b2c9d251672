#include "app/aftersale_actions.h"
#include "app/cash_actions.h"
#include "app/generator_actions.h"
#include "app/report_actions.h"
#include "app/tickets_actions.h"
#include "platform/clock.h"
#include "platform/device_printers.h"
#include "platform/http_download.h"
#include "platform/pq_gateway.h"
#include "platform/process_launcher.h"
#include "platform/profile_file.h"
#include "platform/screens/message_box_dialogs.h"
#include "platform/screens/system_printer.h"
#include "platform/single_instance.h"
#include "sales/screens/sales_actions.h"
#include "sales/screens/sales_screen.h"
#include "session/installation.h"
#include "session/screens/startup_screen.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QApplication>
#include <QDir>
#include <QFile>

using namespace vendura;

namespace {
// How long the counter waits for the central database to answer a new connection.
constexpr int kConnectTimeoutSeconds = 15;
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    Installation installation;
    installation.programFolder = QCoreApplication::applicationDirPath();
    const QString windir = qEnvironmentVariable("WINDIR");
    installation.journalFolder = windir.isEmpty() ? installation.programFolder : windir;
    installation.lockPath = QDir::tempPath() + u"/vendura.lock"_s;

    SingleInstance instance(installation.lockPath);
    if (!instance.acquired()) return 0;

    Session session;
    // a counter of a real installation checks the central database's certificate against the
    // office's authority, kept beside the program
    const QString authority = installation.programFolder + u"/vendura-ca.crt"_s;
    PqConnector connector(kConnectTimeoutSeconds, QFile::exists(authority) ? authority : QString());
    MessageBoxDialogs dialogs;
    ProcessLauncher launcher;
    EventLoopEnd programEnd;
    HttpDownload http;
    SystemClock clock;
    SystemRandom random;
    ServerLink link(session, connector, dialogs, installation);
    DevicePrinters printers(
        PortMap::fromProfile(ProfileFile(installation.iniPath()), installation.programFolder),
        &openSystemPrinter);
    SalesActions actions;
    registerCashActions(actions);
    registerTicketActions(actions, printers);
    registerAfterSaleActions(actions, printers, clock, installation.journalFolder);
    registerReportActions(actions, printers, programEnd, installation.journalFolder);
    registerGeneratorActions(actions, random);

    std::unique_ptr<SalesScreen> sales;
    auto* startup = new StartupScreen(link, launcher, programEnd, http, [&] {
        sales = std::make_unique<SalesScreen>(
            SalesScreenDeps{link, launcher, programEnd, random, clock, printers, actions});
        sales->load();
        sales->setUserPanel(session.Usuario + u" "_s + session.NombreUsuario.trimmed());
        sales->show();
    });
    startup->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(startup, &QObject::destroyed, &app, [&] {
        if (!sales) programEnd.end();
    });
    startup->show();
    return app.exec();
}
