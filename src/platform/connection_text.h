#pragma once

#include "platform/result.h"

#include <QString>

namespace vendura {

// Where a connection text points.
struct ConnectionTarget {
    QString host;
    int port = 1756;
    QString database;
    QString user;
    QString password;
    // Through the connection pooler: the login every counter behind it shares. The connection
    // logs in as it and proves the sales point's own account (user, password) to the server.
    QString gatewayUser{};
    QString gatewayPassword{};
    // The secondary server, on the same port: the connection takes whichever of the two accepts
    // writes.
    QString failoverHost{};
    // Reads only, of days past: a standby of the two is preferred, so that long reports leave
    // the primary to the sales.
    bool readOnlyIntent = false;
};

// "Provider=sqloledb;Network Library=DBMSSOCN;Data Source=host,port;Initial Catalog=db;
// User id=account;Password=password", then ";Failover Partner=host" with a secondary server,
// ";Application Intent=ReadOnly" for a connection that only reads,
// and through the pooler ";Gateway User Id=login;Gateway Password=password". Values holding ";" or
// quotes are written in double quotes, so a typed database name can never add a key of its own.
QString buildConnectionText(const ConnectionTarget& target);
Result<ConnectionTarget> parseConnectionText(const QString& text);

}  // namespace vendura
