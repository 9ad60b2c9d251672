#include "session/server_discovery.h"

#include "platform/database_gateway.h"
#include "platform/files.h"
#include "platform/http_download.h"
#include "session/installation.h"

namespace vendura {

bool looksLikeAddress(const QString& serverField) {
    bool ok = false;
    serverField.trimmed().left(3).toDouble(&ok);
    return ok;
}

Result<QString> obtencionip(DatabaseConnector& connector, const QString& connectionText,
                            const QString& serverName) {
    auto link = connector.create();
    auto opened = link->open(connectionText);
    if (!opened) return opened.error();
    ProcedureCall call{u"obternerip"_s, {}};
    call.in(u"@server"_s, serverName, 20).out(u"@dir_ipdevuelta"_s, u"0"_s, 20);
    auto answer = link->call(call);
    link->close();
    if (!answer) return answer.error();
    return answer.value().output(u"@dir_ipdevuelta"_s).trimmed();
}

ServerListRefresh::ServerListRefresh(HttpDownload& http, const Installation& installation)
    : http_(http), installation_(installation) {}

void ServerListRefresh::start(const QString& updateHost, std::function<void(Result<void>)> done) {
    const QString path = installation_.serverListPath();
    if (files::exists(path)) files::remove(path);
    http_.get(updateHost, u"/update/server.txt"_s,
              [path, done = std::move(done)](Result<QByteArray> body) {
                  if (!body) {
                      done(body.error());
                      return;
                  }
                  done(files::writeInChunks(path, body.value(), 1024));
              });
}

}  // namespace vendura
