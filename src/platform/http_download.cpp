#include "platform/http_download.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace vendura {

HttpDownload::HttpDownload(QObject* parent)
    : QObject(parent), manager_(new QNetworkAccessManager(this)) {}

void HttpDownload::get(const QString& host, const QString& path,
                       std::function<void(Result<QByteArray>)> done) {
    const QUrl url(u"http://"_s + host.trimmed() + path);
    if (!url.isValid() || url.host().isEmpty()) {
        done(Error{QNetworkReply::ProtocolInvalidOperationError,
                   u"Dirección de actualización inválida: "_s + host});
        return;
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(60000);
    QNetworkReply* reply = manager_->get(request);
    connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)] {
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
}

}  // namespace vendura
