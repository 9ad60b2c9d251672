#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

namespace vendura {

// A plain HTTP GET whose answer arrives later on the interface thread.
class HttpDownload : public QObject {
    Q_OBJECT
  public:
    explicit HttpDownload(QObject* parent = nullptr);
    // host may carry a port ("10.0.0.5:8080"); path starts with "/". Answers the number of
    // the request, for cancel(); 0 when done was called at once.
    int get(const QString& host, const QString& path, std::function<void(Result<QByteArray>)> done);
    // Stops a request still under way; its done is never called.
    void cancel(int request);

  private:
    QNetworkAccessManager* manager_;
    QHash<int, QNetworkReply*> running_;
    int last_ = 0;
};

}  // namespace vendura
