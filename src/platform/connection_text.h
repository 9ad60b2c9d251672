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
};

// "Provider=sqloledb;Network Library=DBMSSOCN;Data Source=host,port;Initial Catalog=db;
// User id=account;Password=password". Values holding ";" or quotes are written in double
// quotes, so a typed database name can never add a key of its own.
QString buildConnectionText(const ConnectionTarget& target);
Result<ConnectionTarget> parseConnectionText(const QString& text);

}  // namespace vendura
