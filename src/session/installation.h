#pragma once

#include <QString>

namespace vendura {

// Values fixed when a counter is installed rather than typed by a seller.
struct Installation {
    QString programFolder;  // where VENDURA.INI, server.txt and updatekv.exe lie
    QString journalFolder;  // the ticket journals: WINDIR when set, else the data folder
    QString lockPath;       // the single-instance lock of this machine
    int databasePort = 1756;
    // Written under "ip_enganche" when the configuration has none: the name-resolving server.
    QString defaultResolver = QStringLiteral("127.0.0.1");
    // The maker's update host, when the configuration names none under "HostActualizacion".
    QString defaultUpdateHost = QStringLiteral("127.0.0.1");

    QString iniPath() const { return programFolder + QStringLiteral("/VENDURA.INI"); }
    QString serverListPath() const { return programFolder + QStringLiteral("/server.txt"); }
    QString updaterPath() const { return programFolder + QStringLiteral("/updatekv.exe"); }
    QString helpPath() const { return programFolder + QStringLiteral("/vendura.chm"); }
};

}  // namespace vendura
