#include "aftersale/draw_results.h"

#include "session/server_link.h"
#include "session/session.h"
#include "tickets/ticket_layout.h"

namespace vendura {

const QStringList& resultFields() {
    static const QStringList fields{u"desc_lot"_s,    u"Pri_triple"_s, u"Termi"_s,
                                    u"Seg_triple"_s,  u"Ter_triple"_s, u"Triple_Especial"_s,
                                    u"desc_jugada"_s, u"Digito"_s,     u"Par_A"_s,
                                    u"Par_B"_s,       u"Fijo"_s};
    return fields;
}

const QStringList& resultCaptions() {
    static const QStringList captions{
        u"Loteria"_s,         u"Triple"_s, u"Termi"_s, u"2do"_s,   u"3ro"_s, u"Especial"_s,
        u"Jugada Especial"_s, u"Digito"_s, u"Par A"_s, u"Par B"_s, u"Fijo"_s};
    return captions;
}

QString resultsDateText(const QDate& day) {
    return day.toString(u"dd/MM/yyyy"_s);
}

Result<RecordSet> DrawResults::call(const QString& procedure, const QStringList& args) {
    Session& s = link_.session();
    if (!link_.ensureOpen()) return Error{db_error::kIgnored, QString()};
    auto answer = s.Conexion->callPositional(procedure, args);
    if (!answer) {
        handleCallFailure(link_, answer.error());
        return answer.error();
    }
    return answer.value().rows;
}

Result<RecordSet> DrawResults::lotteries() {
    return call(u"DSPLOT"_s, {u"4"_s, u"0"_s});
}

Result<RecordSet> DrawResults::results(const QDate& day) {
    return call(u"Verpremios"_s,
                {u"0"_s, resultsDateText(day), link_.session().CodVendedor.trimmed()});
}

QStringList layResults(const Session& s, const QString& day, const QString& printedDate,
                       const QString& printedTime, const RecordSet& rows) {
    const QString rule(40, u'=');
    QStringList lines;
    lines << u"<< KALVORA ON LINE >>"_s << u"Resultados de Sorteos "_s + day
          << u"Vendedor : "_s + s.NombreVendedor.trimmed() + u" "_s + s.CodVendedor
          << u"Fecha : "_s + printedDate << u"Hora : "_s + printedTime << rule
          << u"LOTERIA\tTRIPLE\tSIG"_s << rule;
    for (int r = 0; r < rows.size(); ++r) {
        const QString description = rows.text(r, u"desc_lot"_s);
        QString heading = u"Sorteo:"_s;
        heading += description;
        while (heading.endsWith(u' ')) heading.chop(1);
        lines << centred(heading);
        lines << description.left(15) + u"\t"_s + rows.text(r, u"Pri_triple"_s).trimmed() +
                     u"\t"_s + rows.text(r, u"Triple_Especial"_s).left(3);
    }
    lines << rule;
    QStringList out;
    for (const QString& line : lines) {
        // a rule one character short of the width: some ticket printers wrap at the 40th
        const bool ruleLine = line.startsWith(u"===="_s) || line.startsWith(u"----"_s);
        out << s.Margen + (ruleLine ? line.left(39) : line);
    }
    return out;
}

}  // namespace vendura
