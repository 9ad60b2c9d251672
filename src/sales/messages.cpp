#include "sales/messages.h"

#include "session/server_link.h"
#include "session/session.h"

namespace vendura {

QString shownSender(const QString& code) {
    return code.trimmed() == u"*****"_s ? u"BANCA"_s : code;
}

QStringList cutLines(const QString& text, int width) {
    QStringList lines;
    for (qsizetype at = 0; at < text.size(); at += width) lines << text.mid(at, width);
    return lines;
}

QStringList messageLines(const RecordSet& records) {
    const QString stars(100, u'*');
    QStringList lines;
    for (int i = 0; i < records.size(); ++i) {
        lines << u"Vendedor Envia : "_s + shownSender(records.text(i, u"Ven_envia"_s))
              << u"Fecha: "_s + records.text(i, u"Fecha_men"_s) + u" Hora: "_s +
                     records.text(i, u"Hora_men"_s)
              << stars << u"Mensaje:"_s << cutLines(records.text(i, u"Mensajes"_s)) << stars;
    }
    return lines;
}

ProcedureCall xleemensajes(const QString& vendedor, const QString& modo) {
    ProcedureCall call{u"xleemensajes"_s, {}};
    call.in(u"@codigo_vend"_s, vendedor.trimmed(), 5).in(u"@modo"_s, modo, 1);
    return call;
}

std::optional<QStringList> leemensajesnuevos(ServerLink& link) {
    if (!link.ensureOpen()) return std::nullopt;
    DatabaseGateway& db = *link.session().Conexion;
    const QString vendedor = link.session().CodVendedor;
    auto unread = db.call(xleemensajes(vendedor, u"1"_s));
    if (!unread) {
        handleCallFailure(link, unread.error());
        return std::nullopt;
    }
    const RecordSet& records = unread.value().rows;
    for (int i = 0; i < records.size(); ++i) {
        if (records.text(i, u"Leido"_s).trimmed() != u"0"_s) continue;
        auto marked = db.call(xleemensajes(vendedor, u"2"_s));
        if (!marked && handleCallFailure(link, marked.error()) != FailureHandling::Ignored)
            return std::nullopt;
    }
    return messageLines(records);
}

}  // namespace vendura
