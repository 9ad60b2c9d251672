#pragma once

#include "platform/result.h"

#include <QObject>
#include <QString>

#include <functional>

namespace vendura {

class DatabaseConnector;
class HttpDownload;
struct Installation;

// True when a server field holds an address (its first three characters are digits with at
// most one decimal point) rather than a server name.
bool looksLikeAddress(const QString& serverField);

// obtencionip: asks the name-resolving server ("ip_enganche", database "master") for the
// address of a server name, on a connection of its own that is closed afterwards.
Result<QString> obtencionip(DatabaseConnector& connector, const QString& connectionText,
                            const QString& serverName);

// The longest server name the name-resolving server takes ("@server" is 20 characters).
constexpr int kMaxServerName = 20;

// The refresh of server.txt from the maker's update host: the old list is deleted first, the
// new one written in pieces of 1024 bytes.
class ServerListRefresh {
  public:
    ServerListRefresh(HttpDownload& http, const Installation& installation);
    // A refresh still under way when this goes is cancelled: nobody is left to hear its end.
    ~ServerListRefresh();
    ServerListRefresh(const ServerListRefresh&) = delete;
    ServerListRefresh& operator=(const ServerListRefresh&) = delete;

    void start(const QString& updateHost, std::function<void(Result<void>)> done);
    bool running() const { return request_ != 0; }
    // Stops a refresh under way; its done is never called. The old list stays deleted.
    void cancel();

  private:
    HttpDownload& http_;
    const Installation& installation_;
    int request_ = 0;
};

}  // namespace vendura
