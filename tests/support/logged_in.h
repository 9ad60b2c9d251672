#pragma once

#include "faulty_gateway.h"
#include "platform/clock.h"
#include "platform/device_printers.h"
#include "platform/pq_gateway.h"
#include "platform/profile_file.h"
#include "recorders.h"
#include "session/database_account.h"
#include "session/installation.h"
#include "session/login.h"
#include "session/server_link.h"
#include "session/session.h"
#include "test_database.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vendura::test {

// A seller logged in through the real login against a test database, with a program folder
// of its own and recorders for dialogs, launcher and program end.
struct LoggedIn {
    explicit LoggedIn(TestDatabase& database) : db(database) {
        installation.programFolder = dir.path();
        installation.journalFolder = dir.path();
        installation.databasePort = Cluster::get().port;
        ProfileFile ini(installation.iniPath());
        ini.write(u"Comunicaciones"_s, u"ip_enganche"_s, Cluster::get().host);
        ini.write(u"Comunicaciones"_s, u"CuentaBD"_s, db.cuentaBD());
        // the printer port is a plain file in the program folder
        ini.write(u"Puertos"_s, u"LPT1"_s, printerPath());
    }

    // The counter set up to reach the server through the connection pooler tools/test starts,
    // on the login every counter there shares.
    void throughPooler() {
        ASSERT_NE(Cluster::get().poolerPort, 0) << "VENDURA_TEST_POOLER_PORT: run tools/test";
        installation.databasePort = Cluster::get().poolerPort;
        ProfileFile(installation.iniPath())
            .write(u"Comunicaciones"_s, u"CuentaPasarela"_s,
                   encodeAccount({u"vendura_pasarela"_s, Cluster::get().gatewayPassword}));
    }

    // Logs the user in; false (with the boxes in the recorder) when it did not work.
    bool login(const QString& user = QStringLiteral("1001")) {
        Login flow(link, launcher, programEnd);
        return flow.run({user, QStringLiteral("1234"), Cluster::get().host, db.name()}, true,
                        Cluster::get().host) == LoginOutcome::OpenSales;
    }

    QString printerPath() const { return dir.filePath(QStringLiteral("lpt1.out")); }

    TestDatabase& db;
    QTemporaryDir dir;
    Installation installation;
    Session session;
    // the real link, with the seam that loses answers when a test asks it to
    FaultyConnector connector{5};
    DialogRecorder dialogs;
    LauncherRecorder launcher;
    ProgramEndRecorder programEnd;
    ServerLink link{session, connector, dialogs, installation};
};

}  // namespace vendura::test
