#pragma once

#include "platform/result.h"

#include <QObject>
#include <QString>

#include <functional>

namespace vendura {

class DatabaseConnector;
class HttpDownload;
struct Installation;

// True when a server field holds an address (its first three characters read as a number)
// rather than a server name.
bool looksLikeAddress(const QString& serverField);

// obtencionip: asks the name-resolving server ("ip_enganche", database "master") for the
// address of a server name, on a connection of its own that is closed afterwards.
Result<QString> obtencionip(DatabaseConnector& connector, const QString& connectionText,
                            const QString& serverName);

// The refresh of server.txt from the maker's update host: the old list is deleted first, the
// new one written in pieces of 1024 bytes.
class ServerListRefresh {
  public:
    ServerListRefresh(HttpDownload& http, const Installation& installation);
    void start(const QString& updateHost, std::function<void(Result<void>)> done);

  private:
    HttpDownload& http_;
    const Installation& installation_;
};

}  // namespace vendura
