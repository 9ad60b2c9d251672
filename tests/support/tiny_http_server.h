#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace vendura::test {

// Answers every GET on the loopback with one fixed response, and remembers the paths asked.
// While holding, requests are taken but answered only on release().
class TinyHttpServer : public QTcpServer {
  public:
    TinyHttpServer(int status, QByteArray body) : status_(status), body_(std::move(body)) {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    request_ += s->readAll();
                    if (!request_.contains("\r\n\r\n")) return;
                    paths << QString::fromLatin1(request_.split(' ').value(1));
                    request_.clear();
                    if (holding) {
                        held_ << s;
                    } else {
                        answer(s);
                    }
                });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QString host() const { return QStringLiteral("127.0.0.1:") + QString::number(serverPort()); }
    void release() {
        holding = false;
        for (const QPointer<QTcpSocket>& s : held_) {
            if (s) answer(s);
        }
        held_.clear();
    }
    QStringList paths;
    bool holding = false;

  private:
    void answer(QTcpSocket* s) {
        s->write(
            "HTTP/1.1 " + QByteArray::number(status_) + (status_ == 200 ? " OK" : " Not Found") +
            "\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body_.size()) +
            "\r\nConnection: close\r\n\r\n" + body_);
        s->disconnectFromHost();
    }

    int status_;
    QByteArray body_;
    QByteArray request_;
    QList<QPointer<QTcpSocket>> held_;
};

}  // namespace vendura::test
