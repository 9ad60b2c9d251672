#include "office/audit_trail.h"

#include "office/input.h"

namespace vendura::office {
namespace {

QString csvField(QString text) {
    if (!text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front())) text.prepend(u'\'');
    if (text.contains(u',') || text.contains(u'"') || text.contains(u'\n') ||
        text.contains(u'\r')) {
        text.replace(u"\""_s, u"\"\""_s);
        return u'"' + text + u'"';
    }
    return text;
}

}  // namespace

Result<RecordSet> searchAudit(AdminLink& link, const AuditQuery& q) {
    auto from = isoDate(q.from);
    if (!from) return from.error();
    auto to = isoDate(q.to);
    if (!to) return to.error();
    return link.call(u"auditoria"_s, {from.value(), to.value(), orNull(q.vendor.trimmed()),
                                      orNull(q.user.trimmed()), orNull(q.action.trimmed()),
                                      QString::number(kAuditLimit)});
}

QString auditFound(const RecordSet& rows) {
    QString found = QString::number(rows.size()) + u" registro(s)"_s;
    if (rows.size() >= kAuditLimit) {
        found +=
            u", los primeros: hay más; acorte los días o busque por punto, vendedor o "
            u"acción"_s;
    }
    return found;
}

QString toCsv(const RecordSet& rows) {
    QString csv;
    QStringList fields;
    for (const QString& f : rows.fields()) fields << csvField(f);
    csv += fields.join(u',') + u"\r\n"_s;
    for (int r = 0; r < rows.size(); ++r) {
        QStringList line;
        for (int c = 0; c < rows.fields().size(); ++c) line << csvField(rows.text(r, c));
        csv += line.join(u',') + u"\r\n"_s;
    }
    return csv;
}

}  // namespace vendura::office
