#include "office/screens/live_reading.h"

#include "platform/result.h"

namespace vendura::office {

namespace {
QString seconds() {
    return QString::number(kLiveRefreshMs / 1000) + u" s"_s;
}
}  // namespace

QString readAgainEvery() {
    return u" (se lee de nuevo cada "_s + seconds() + u")"_s;
}

QString readAgainFailed(const QString& what, const QString& reason) {
    return what + u" ("_s + reason + u"); se intenta otra vez en "_s + seconds();
}

}  // namespace vendura::office
