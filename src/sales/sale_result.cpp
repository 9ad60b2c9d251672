#include "sales/sale_result.h"

#include "platform/dialogs.h"
#include "sales/lottery_catalog.h"
#include "session/temporary_ticket.h"
#include "session/text.h"

namespace vendura {
namespace {

const QChar kCr = QChar(13);

}  // namespace

QString refusalReason(int code, const QString& procedure) {
    switch (code) {
        case 70: {
            const QString p = procedure.toLower();
            if (p.startsWith(u"xcreapermutas"_s)) {
                return u"La permuta tiene más dígitos de los que admite este punto de venta o "
                       u"forma más de 500 números."_s;
            }
            if (p.startsWith(u"xcreaseries"_s)) {
                return u"La serie se forma con la terminación de uno o dos dígitos."_s;
            }
            if (p == u"xcreaseguid"_s) {
                return u"La seguidilla no forma números: revise desde y hasta."_s;
            }
            if (p == u"xcreaposic"_s) return u"Indique un dígito y su posición."_s;
            if (p.startsWith(u"xjtermi"_s)) return u"No hay triples de los que sacar terminales."_s;
            return u"El número debe tener de 1 a 3 dígitos."_s;
        }
        case 71:
            return u"El monto no es válido: debe ser mayor que cero, de hasta 999.999,99 Bs.F. y "
                   u"en céntimos enteros."_s;
        case 72:
            return u"La jugada forma más números de los que admite un ticket."_s;
        case 73:
            return u"El ticket en curso ya no está abierto para este vendedor."_s;
        case 74:
            return u"Los números de item ya estaban usados en el servidor: el ticket muestra "
                   u"ahora lo que el servidor tiene registrado."_s;
        case 75:
            return u"La jugada especial no está asignada a este punto de venta."_s;
        case 76:
            return u"Una de las loterías seleccionadas no ofrece esta jugada especial."_s;
        case 77:
            return u"Las jugadas especiales seleccionadas no son válidas."_s;
        case 78:
            return u"El ticket indicado no fue vendido en este punto de venta."_s;
        case 79:
            return u"No hay jugadas que copiar en la lotería de origen."_s;
        case 80:
            return kTicketLiberado;
        default:
            return u"El servidor rechazó la jugada (código "_s + QString::number(code) + u")."_s;
    }
}

SaleResult::SaleResult(const PlayAnswer& answer, const LotteryCatalog& rsloterias,
                       QString jugadaactual, QString tipo)
    : answer_(answer),
      rsloterias_(rsloterias),
      jugada_(std::move(jugadaactual)),
      tipo_(std::move(tipo)) {
    outcome_.refusalCode = answer.returnValue;
    for (int i = answer.records.size() - 1; i >= 0; --i) {
        recordOfItem_.insert(answer.records.text(i, u"titems"_s).trimmed(), i);
    }
}

// The record of an item, by its number; a special play's record also names the item's lottery
// and variant, and one that names others is not this item's.
int SaleResult::findRecord(int itemNumber, const PlannedItem& item) const {
    const int record = recordOfItem_.value(QString::number(itemNumber), -1);
    if (record < 0 || item.variant.isEmpty()) return record;
    const RecordSet& r = answer_.records;
    const bool sameLottery = r.text(record, u"cod_lot"_s)
                                 .trimmed()
                                 .compare(entryCode(item.lotteryEntry), Qt::CaseInsensitive) == 0;
    const bool sameVariant = r.text(record, u"jugada"_s).trimmed() == item.variant;
    return sameLottery && sameVariant ? record : -1;
}

QString SaleResult::lotteryText(const QString& code) const {
    const Lottery* l = rsloterias_.find(code);
    return l ? l->entry() : code.trimmed();
}

QString SaleResult::lotteryDescription(const QString& code) const {
    const Lottery* l = rsloterias_.find(code);
    return l ? rightTrimmed(l->description) : code.trimmed();
}

ItemTicket SaleResult::row(const QString& number, const QString& lottery,
                           std::optional<Money> amount, int item, const QString& especial) const {
    return ItemTicket{number, lottery, amount, jugada_, especial, item, tipo_, jugada_};
}

void SaleResult::apply(const PlannedItem& item, int& numItem) {
    const int record =
        answer_.returnValue == 0 || answer_.records.empty() ? -1 : findRecord(numItem + 1, item);
    if (record < 0) {
        ++numItem;
        outcome_.rows.push_back(row(item.number, rightTrimmed(item.lotteryEntry), item.amount,
                                    numItem, item.variantDescription));
        return;
    }
    const RecordSet& r = answer_.records;
    const QString code = r.text(record, 0).trimmed();
    const QString status = r.text(record, 3).trimmed();
    const auto sold = Money::parse(r.text(record, 2));
    const QString shownNumber = r.text(record, 1);
    const QString described = r.text(record, u"desc_jugada"_s).trimmed();
    const QString especial = described.isEmpty() ? item.variantDescription : described;

    if (status == u"2"_s && sold) {
        ++numItem;
        outcome_.rows.push_back(
            row(shownNumber, lotteryText(code), sold.value(), numItem, especial));
        outcome_.partialList += shownNumber.trimmed() + u" "_s + lotteryDescription(code) +
                                u" Bs.: "_s + sold.value().plain() + kCr;
    } else if (status == u"1"_s && sold && sold.value().isZero()) {
        ++numItem;
        outcome_.rows.push_back(
            row(shownNumber, lotteryText(code), std::nullopt, numItem, especial));
        outcome_.soldOutList += shownNumber.trimmed() + u" "_s + lotteryDescription(code) + kCr;
    } else if (status == u"4"_s) {
        const QString code3 = code.leftJustified(3, u' ', true);
        bool listed = false;
        for (qsizetype at = 0; at + 3 <= outcome_.closedCodes.size(); at += 3) {
            listed = listed || outcome_.closedCodes.mid(at, 3) == code3;
        }
        if (!listed) {
            outcome_.closedCodes += code3;
            outcome_.closedList += lotteryDescription(code) + kCr;
        }
        ++numItem;
    } else if (status == u"9"_s) {
        ++outcome_.refused;
        // an item number another play already holds on the server is skipped for good
        if (answer_.returnValue == 74) ++numItem;
    }
}

void SaleResult::finish(int& numItem) const {
    if (answer_.returnValue != 74) return;
    for (int i = 0; i < answer_.records.size(); ++i) {
        bool ok = false;
        const int last = answer_.records.text(i, u"ultimo_item"_s).trimmed().toInt(&ok);
        if (ok && last > numItem && last < 32767) numItem = last;
    }
}

void showSaleMessages(Dialogs& dialogs, const SaleOutcome& outcome) {
    const QString twoReturns = QString(2, kCr);
    if (!outcome.partialList.trimmed().isEmpty()) {
        dialogs.message(
            DialogIcon::Information, u"KALVORA ON LINE - Ventas por el Resto"_s,
            u"Los Siguiente Números Fueron Vendidos por las Cantidades Aqui Indicadas"_s +
                twoReturns + outcome.partialList);
    }
    if (!outcome.soldOutList.trimmed().isEmpty()) {
        dialogs.message(DialogIcon::Critical, u"KALVORA ON LINE - Números Agotados"_s,
                        u"Los Siguiente Números No Fueron Vendidos por estar Agotados "_s +
                            twoReturns + outcome.soldOutList);
    }
    if (!outcome.closedList.trimmed().isEmpty()) {
        dialogs.message(DialogIcon::Critical, u"KALVORA ON LINE - LOTERIA CERRADA"_s,
                        outcome.closedList);
    }
    if (outcome.refused > 0) {
        dialogs.message(DialogIcon::Critical, u"Atención!"_s,
                        u"La jugada no fue registrada. "_s +
                            refusalReason(outcome.refusalCode, outcome.procedure));
    }
}

}  // namespace vendura
