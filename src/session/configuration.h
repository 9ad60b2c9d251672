#pragma once

#include <QString>
#include <QStringList>

namespace vendura {

struct Installation;
struct Session;

// What the start-up screen shows after the configuration is read.
struct StartupFields {
    bool fileExists = false;
    QStringList servers;  // lines of server.txt, in file order
    QString user;
    QString password;
    QString server;
    QString database;
    QString ipEnganche;
    QString updateHost;
};

// Reads server.txt and VENDURA.INI into Session and the start-up fields, writing the
// resolver's default address under "ip_enganche" when the file has none.
StartupFields LoadConfiguration(Session& session, const Installation& installation);

// The write-back after a successful login. fileExisted: whether VENDURA.INI was there when
// the login began; the two texts are the login screen's server and database fields.
void SaveConfigurationAfterLogin(Session& session, const Installation& installation,
                                 bool fileExisted, const QString& serverField,
                                 const QString& databaseField);

}  // namespace vendura
