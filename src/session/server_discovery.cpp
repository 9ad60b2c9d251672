#include "session/server_discovery.h"

#include "platform/database_gateway.h"
#include "platform/files.h"
#include "platform/http_download.h"
#include "session/installation.h"

namespace vendura {

bool looksLikeAddress(const QString& serverField) {
    // digits and at most one decimal point, as "10." of "10.0.0.5"; a number parser would also
    // take "inf" and "nan", the start of server names like "infra" or "nando"
    const QString head = serverField.trimmed().left(3);
    int digits = 0;
    int points = 0;
    for (QChar c : head) {
        if (c >= u'0' && c <= u'9') {
            ++digits;
        } else if (c == u'.') {
            ++points;
        } else {
            return false;
        }
    }
    return digits > 0 && points <= 1;
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

ServerListRefresh::~ServerListRefresh() {
    cancel();
}

void ServerListRefresh::start(const QString& updateHost, std::function<void(Result<void>)> done) {
    cancel();
    const QString path = installation_.serverListPath();
    if (files::exists(path)) files::remove(path);
    request_ = http_.get(updateHost, u"/update/server.txt"_s,
                         [this, path, done = std::move(done)](Result<QByteArray> body) {
                             request_ = 0;
                             if (!body) {
                                 done(body.error());
                                 return;
                             }
                             done(files::writeInChunks(path, body.value(), 1024));
                         });
}

void ServerListRefresh::cancel() {
    if (request_ != 0) http_.cancel(request_);
    request_ = 0;
}

}  // namespace vendura
