#include "tickets/ticket_layout.h"

#include "session/session.h"
#include "session/text.h"

#include <algorithm>

namespace vendura {
namespace {

constexpr int kWidth = 40;
const QString kRule = QString(kWidth, u'=');

// A generator's group printed once in place of its numbers: a label ending in "*" that, after
// its group number ("1Permuta 1234*"), begins with "Permuta", "Serie" or "Seguidilla". Answers
// the label without the group number, or nothing for any other label.
QString generatorLabel(const QString& letras) {
    const QString label = rightTrimmed(letras);
    if (!label.endsWith(u'*')) return QString();
    qsizetype from = 1;  // the group number: one character, more past the ninth sale
    while (from < label.size() && label[from].isDigit()) ++from;
    const QString rest = label.mid(from);
    const bool generated = rest.startsWith(u"Permuta"_s) || rest.startsWith(u"Serie"_s) ||
                           rest.startsWith(u"Seguidilla"_s);
    return generated ? rest : QString();
}

// The plays of one kind of one lottery, nrocolumnas entries to a line. Amounts share one
// width; when the entries would make a line longer than 40 characters, fewer go on a line.
QStringList playLines(const std::vector<const TicketRecord*>& plays, int columns) {
    QStringList lines;
    if (plays.empty()) return lines;
    int amountWidth = 0;
    for (const TicketRecord* r : plays) {
        amountWidth = std::max(amountWidth, int(r->monto_normal.display().size()));
    }
    const int entryWidth = 3 + 3 + amountWidth + 1;
    const int perLine = std::clamp(columns, 1, std::max(1, kWidth / entryWidth));
    QString line;
    int inLine = 0;
    QString lastLabel;
    auto flush = [&] {
        if (inLine > 0) lines << rightTrimmed(line);
        line.clear();
        inLine = 0;
    };
    for (const TicketRecord* r : plays) {
        const QString amount = r->monto_normal.display().rightJustified(amountWidth);
        const QString label = r->Tipo_jugada == u"2"_s ? QString() : generatorLabel(r->letras);
        if (!label.isEmpty()) {
            // two sales of one play differ in their group number
            if (r->letras != lastLabel) {
                flush();
                lines << (label + u" x "_s + r->monto_normal.display()).left(kWidth);
            }
            lastLabel = r->letras;
            continue;
        }
        lastLabel.clear();
        line += (markNumber(r->Num_normal).leftJustified(3) + u" x "_s + amount + u" "_s)
                    .leftJustified(entryWidth);
        if (++inLine == perLine) flush();
    }
    flush();
    return lines;
}

// Special plays of one lottery: for each variant, in order of first appearance, a line with
// the first three characters of the play label and the variant, then its plays laid out as
// the straight ones.
QStringList specialLines(const std::vector<const TicketRecord*>& plays, int columns) {
    QStringList variants;
    for (const TicketRecord* r : plays) {
        if (!variants.contains(r->especial)) variants << r->especial;
    }
    QStringList lines;
    for (const QString& variant : variants) {
        std::vector<const TicketRecord*> ofVariant;
        QString label;
        for (const TicketRecord* r : plays) {
            if (r->especial != variant) continue;
            ofVariant.push_back(r);
            label = r->letras.left(3);
        }
        lines << rightTrimmed(label + u" "_s + variant.trimmed()).left(kWidth)
              << playLines(ofVariant, columns);
    }
    return lines;
}

}  // namespace

QString cutToWidth(const QString& text) {
    return text.left(kWidth);
}

QStringList wrapToWidth(const QString& text) {
    if (text.size() <= kWidth) return {text};
    QStringList lines;
    QString line;
    for (QString word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() <= kWidth) {
            line += u' ' + word;
            continue;
        }
        if (!line.isEmpty()) lines << line;
        while (word.size() > kWidth) {
            lines << word.left(kWidth);
            word.remove(0, kWidth);
        }
        line = word;
    }
    if (!line.isEmpty() || lines.isEmpty()) lines << line;
    return lines;
}

QString centred(const QString& text) {
    const int free = kWidth - int(text.size());
    if (free <= 0) return text;
    int blanks = free / 2;
    if (free % 2 != 0 && blanks % 2 != 0) ++blanks;  // x.5 goes to the even neighbour
    return QString(blanks, u' ') + text;
}

std::vector<TicketRecord> armaticket(const std::vector<ItemTicket>& rows) {
    std::vector<TicketRecord> records;
    for (const ItemTicket& r : rows) {
        if (r.sinCupo()) continue;
        const qsizetype dash = r.loteria.indexOf(u" - "_s);
        records.push_back({r.numero, r.codigoLoteria(),
                           dash < 0 ? r.loteria : r.loteria.mid(dash + 3).trimmed(), *r.monto,
                           r.tipo2, r.tipo, r.especial});
    }
    return records;
}

TicketPrintData TicketPrintData::from(const Session& s, const QString& ticketNumber,
                                      const QString& serial, const QString& userPanel) {
    TicketPrintData d;
    d.margen = s.Margen;
    d.nombreVendedor = s.NombreVendedor;
    d.direccion = s.Direccion;
    d.rif = s.Rif;
    d.nit = s.Nit;
    d.ticketNumber = ticketNumber;
    d.serial = serial;
    d.userPanel = userPanel;
    d.fecha = s.FechaTicket;
    d.hora = s.HoraTicket;
    d.clienteCedula = s.ClienteCedula;
    d.clienteNombre = s.ClienteNombre;
    d.imprimePorLoteria = s.ImprimePorLoteria;
    d.nrocolumnas = int(s.nrocolumnas);
    d.tiempoanular = s.Tiempoanular;
    d.diascaduca = s.Diascaduca;
    d.msgticket = s.Msgticket;
    return d;
}

namespace {

// The serial is left off the image a ticket list reprints: that copy cannot claim a prize.
enum class Serial { Printed, Omitted };

// Names, the address, the user panel and the customer are cut or wrapped to the ticket's width.
QStringList header(const TicketPrintData& d, bool withCustomer, Serial serial = Serial::Printed) {
    QStringList h{u"<< KALVORA On Line >>"_s, cutToWidth(d.nombreVendedor)};
    h << wrapToWidth(rightTrimmed(d.direccion))
      << cutToWidth(u"R.I.F.: "_s + d.rif.trimmed() + u"  N.I.T.: "_s + d.nit.trimmed())
      << cutToWidth(u"Ticket: "_s + d.ticketNumber);
    if (serial == Serial::Printed) h << cutToWidth(u"Serial:"_s + d.serial);
    h << cutToWidth(d.userPanel) << cutToWidth(d.fecha + u"   "_s + d.hora);
    if (withCustomer) {
        h << cutToWidth(u"Cedula/R.I.F.: "_s + d.clienteCedula)
          << wrapToWidth(u"Nombre/Razón Social: "_s + d.clienteNombre);
    }
    h << kRule;
    return h;
}

QStringList group(const TicketPrintData& d, const QString& code,
                  const std::vector<TicketRecord>& records) {
    std::vector<const TicketRecord*> normal, special;
    QString description;
    for (const TicketRecord& r : records) {
        if (r.cod_lot != code) continue;
        description = r.des_lot;
        (r.Tipo_jugada == u"2"_s ? special : normal).push_back(&r);
    }
    QStringList lines{cutToWidth(centred(u"Sorteo:"_s + description.trimmed()))};
    lines << playLines(normal, d.nrocolumnas) << specialLines(special, d.nrocolumnas);
    return lines;
}

Money totalOf(const std::vector<TicketRecord>& records, const QString& code = QString()) {
    Money total;
    for (const TicketRecord& r : records) {
        if (code.isEmpty() || r.cod_lot == code) total += r.monto_normal;
    }
    return total;
}

QStringList footer(const TicketPrintData& d, const Money& total,
                   const std::vector<ItemTicket>* soldOut, Serial serial = Serial::Printed) {
    QStringList f{kRule, u"Total Bs.: "_s + total.display()};
    if (soldOut) {
        f << QString() << centred(u"NUMEROS AGOTADOS"_s) << kRule;
        for (const ItemTicket& r : *soldOut) {
            if (!r.sinCupo()) continue;
            const QString number = r.numero.trimmed();
            f << r.loteria.left(kWidth - 3 - int(number.size())) + u"   "_s + number;
        }
        f << kRule;
    }
    if (serial == Serial::Printed) f << cutToWidth(u"Serial:"_s + d.serial);
    if (!d.msgticket.isEmpty()) f << wrapToWidth(rightTrimmed(d.msgticket));
    f << cutToWidth(u"Caduca a los "_s + numberText(d.diascaduca).trimmed() + u" Dias"_s)
      << u"REVISE SU TICKET"_s;
    return f;
}

QStringList withMargin(const TicketPrintData& d, const QStringList& lines) {
    QStringList out;
    for (const QString& l : lines) out << d.margen + l;
    return out;
}

QStringList lotteryCodes(const std::vector<TicketRecord>& records) {
    QStringList codes;
    for (const TicketRecord& r : records) {
        if (!codes.contains(r.cod_lot)) codes << r.cod_lot;
    }
    return codes;
}

// The blank lines that end a ticket, where the seller tears it off.
const QStringList kTicketEnd{u" "_s, u" "_s};

}  // namespace

QStringList layTicket(const TicketPrintData& d, const std::vector<TicketRecord>& records,
                      const std::vector<ItemTicket>& listRows) {
    const QStringList codes = lotteryCodes(records);
    QStringList lines;
    if (d.imprimePorLoteria == u"S"_s) {
        for (const QString& code : codes) {
            lines << withMargin(d, header(d, true)) << withMargin(d, group(d, code, records))
                  << withMargin(d, footer(d, totalOf(records, code), nullptr)) << kTicketEnd;
        }
        return lines;
    }
    lines << withMargin(d, header(d, false));
    for (const QString& code : codes) lines << withMargin(d, group(d, code, records));
    lines << withMargin(d, footer(d, totalOf(records), d.tiempoanular == 1 ? &listRows : nullptr))
          << kTicketEnd;
    return lines;
}

QStringList layImage(const TicketPrintData& d, const std::vector<TicketRecord>& records,
                     bool cancelled) {
    QStringList lines = header(d, false, Serial::Omitted);
    for (const QString& code : lotteryCodes(records)) lines << group(d, code, records);
    lines << footer(d, totalOf(records), nullptr, Serial::Omitted)
          << (cancelled ? u"EL TICKET ESTA ANULADO"_s : u"EL TICKET ESTA ACTIVO"_s);
    return withMargin(d, lines);
}

QStringList layVoucher(const TicketPrintData& d) {
    QStringList lines = header(d, true);
    lines << u"***TICKET INVALIDO****TICKET INVALIDO***"_s
          << u"***TICKET INVALIDO****TICKET INVALIDO***"_s << kRule;
    return withMargin(d, lines);
}

}  // namespace vendura
