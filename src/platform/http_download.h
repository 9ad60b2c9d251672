#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QNetworkAccessManager;

namespace vendura {

// A plain HTTP GET whose answer arrives later on the interface thread.
class HttpDownload : public QObject {
    Q_OBJECT
  public:
    explicit HttpDownload(QObject* parent = nullptr);
    // host may carry a port ("10.0.0.5:8080"); path starts with "/".
    void get(const QString& host, const QString& path,
             std::function<void(Result<QByteArray>)> done);

  private:
    QNetworkAccessManager* manager_;
};

}  // namespace vendura
