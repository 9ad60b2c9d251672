#include "platform/connection_text.h"

#include "platform/quoted_text.h"

#include <QMap>

namespace vendura {
namespace {

QString quoted(const QString& value) {
    if (!value.contains(u';') && !value.contains(u'"') && !value.contains(u'\'') &&
        value == value.trimmed()) {
        return value;
    }
    QString doubled = value;
    doubled.replace(u"\""_s, u"\"\""_s);
    return u'"' + doubled + u'"';
}

// Splits "key=value;key=value" honouring quoted values; keys are lower-cased.
Result<QMap<QString, QString>> splitPairs(const QString& text) {
    QMap<QString, QString> pairs;
    int i = 0;
    const int n = static_cast<int>(text.size());
    while (i < n) {
        const int eq = static_cast<int>(text.indexOf(u'=', i));
        if (eq < 0) {
            if (!text.mid(i).trimmed().isEmpty()) {
                return Error{0, u"Texto de conexión mal formado"_s};
            }
            break;
        }
        const QString key = text.mid(i, eq - i).trimmed().toLower();
        int j = eq + 1;
        while (j < n && text[j] == u' ') ++j;
        QString value;
        if (j < n && (text[j] == u'"' || text[j] == u'\'')) {
            const auto quoted = takeQuoted(text, j);
            if (!quoted) return Error{0, u"Texto de conexión mal formado"_s};
            value = *quoted;
            while (j < n && text[j] == u' ') ++j;
            if (j < n && text[j] != u';') return Error{0, u"Texto de conexión mal formado"_s};
        } else {
            const int semi = static_cast<int>(text.indexOf(u';', j));
            const int end = semi < 0 ? n : semi;
            value = text.mid(j, end - j).trimmed();
            j = end;
        }
        pairs.insert(key, value);
        i = j + 1;
    }
    return pairs;
}

}  // namespace

QString buildConnectionText(const ConnectionTarget& t) {
    QString text = u"Provider=sqloledb;Network Library=DBMSSOCN;Data Source="_s + quoted(t.host) +
                   u","_s + QString::number(t.port) + u";Initial Catalog="_s + quoted(t.database) +
                   u";User id="_s + quoted(t.user) + u";Password="_s + quoted(t.password);
    if (!t.failoverHost.isEmpty()) text += u";Failover Partner="_s + quoted(t.failoverHost);
    if (t.readOnlyIntent) text += u";Application Intent=ReadOnly"_s;
    if (!t.gatewayUser.isEmpty()) {
        text += u";Gateway User Id="_s + quoted(t.gatewayUser) + u";Gateway Password="_s +
                quoted(t.gatewayPassword);
    }
    return text;
}

Result<ConnectionTarget> parseConnectionText(const QString& text) {
    auto pairs = splitPairs(text);
    if (!pairs) return pairs.error();
    const auto& p = pairs.value();
    ConnectionTarget t;
    QString source = p.value(u"data source"_s);
    const int comma = static_cast<int>(source.lastIndexOf(u','));
    if (comma >= 0) {
        bool ok = false;
        const int port = source.mid(comma + 1).trimmed().toInt(&ok);
        if (!ok || port <= 0 || port > 65535) {
            return Error{0, u"Puerto del servidor inválido"_s};
        }
        t.port = port;
        source = source.left(comma);
    }
    t.host = source.trimmed();
    t.database = p.value(u"initial catalog"_s);
    t.user = p.value(u"user id"_s);
    t.password = p.value(u"password"_s);
    t.failoverHost = p.value(u"failover partner"_s).trimmed();
    t.readOnlyIntent =
        p.value(u"application intent"_s).trimmed().compare(u"ReadOnly"_s, Qt::CaseInsensitive) == 0;
    t.gatewayUser = p.value(u"gateway user id"_s);
    t.gatewayPassword = p.value(u"gateway password"_s);
    if (t.host.isEmpty()) return Error{0, u"Falta el servidor en el texto de conexión"_s};
    return t;
}

}  // namespace vendura
