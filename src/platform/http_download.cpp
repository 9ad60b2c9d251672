#include "platform/http_download.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace vendura {

HttpDownload::HttpDownload(QObject* parent)
    : QObject(parent), manager_(new QNetworkAccessManager(this)) {}

int HttpDownload::get(const QString& host, const QString& path,
                      std::function<void(Result<QByteArray>)> done) {
    const QUrl url(u"http://"_s + host.trimmed() + path);
    if (!url.isValid() || url.host().isEmpty()) {
        done(Error{QNetworkReply::ProtocolInvalidOperationError,
                   u"Dirección de actualización inválida: "_s + host});
        return 0;
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(60000);
    QNetworkReply* reply = manager_->get(request);
    const int id = ++last_;
    running_.insert(id, reply);
    connect(reply, &QNetworkReply::finished, this, [this, id, reply, done = std::move(done)] {
        running_.remove(id);
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError) {
            done(Error{reply->error(), reply->errorString()});
        } else if (status != 200) {
            done(Error{status,
                       u"El servidor de actualización respondió "_s + QString::number(status)});
        } else {
            done(reply->readAll());
        }
    });
    return id;
}

void HttpDownload::cancel(int request) {
    QNetworkReply* reply = running_.take(request);
    if (!reply) return;
    // disconnected first: abort() finishes the reply at once and would call done
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

}  // namespace vendura
