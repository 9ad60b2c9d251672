#include "sales/sale_result.h"

#include "platform/dialogs.h"
#include "sales/lottery_catalog.h"
#include "session/text.h"

namespace vendura {
namespace {

const QChar kCr = QChar(13);

QString refusalReason(int code) {
    switch (code) {
        case 70:
            return u"El número debe tener de 1 a 3 dígitos."_s;
        case 71:
            return u"El monto no es válido: debe ser mayor que cero, de hasta 999.999,999 Bs.F. y "
                   u"con no más de tres decimales."_s;
        case 73:
            return u"El ticket en curso ya no está abierto para este vendedor."_s;
        case 74:
            return u"Los números de item ya estaban usados en el servidor; vuelva a enviar la "
                   u"jugada."_s;
        default:
            return u"El servidor rechazó la jugada (código "_s + QString::number(code) + u")."_s;
    }
}

}  // namespace

SaleResult::SaleResult(const PlayAnswer& answer, const LotteryCatalog& rsloterias,
                       QString jugadaactual, QString tipo)
    : answer_(answer),
      rsloterias_(rsloterias),
      jugada_(std::move(jugadaactual)),
      tipo_(std::move(tipo)) {
    outcome_.refusalCode = answer.returnValue;
}

int SaleResult::findRecord(int itemNumber) const {
    const QString wanted = QString::number(itemNumber);
    for (int i = 0; i < answer_.records.size(); ++i) {
        if (answer_.records.text(i, u"titems"_s).trimmed() == wanted) return i;
    }
    return -1;
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
                           std::optional<Money> amount, int item) const {
    return ItemTicket{number, lottery, amount, jugada_, QString(), item, tipo_, jugada_};
}

void SaleResult::apply(const QString& lotteryEntry, const QString& number, Money amount,
                       int& numItem) {
    const int record =
        answer_.returnValue == 0 || answer_.records.empty() ? -1 : findRecord(numItem + 1);
    if (record < 0) {
        ++numItem;
        outcome_.rows.push_back(row(number, rightTrimmed(lotteryEntry), amount, numItem));
        return;
    }
    const RecordSet& r = answer_.records;
    const QString code = r.text(record, 0).trimmed();
    const QString status = r.text(record, 3).trimmed();
    const auto sold = Money::parse(r.text(record, 2));
    const QString shownNumber = r.text(record, 1);

    if (status == u"2"_s && sold) {
        ++numItem;
        outcome_.rows.push_back(row(shownNumber, lotteryText(code), sold.value(), numItem));
        outcome_.partialList += shownNumber.trimmed() + u" "_s + lotteryDescription(code) +
                                u" Bs.: "_s + sold.value().plain() + kCr;
    } else if (status == u"1"_s && sold && sold.value().isZero()) {
        ++numItem;
        outcome_.rows.push_back(row(shownNumber, lotteryText(code), std::nullopt, numItem));
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
                        u"La jugada no fue registrada. "_s + refusalReason(outcome.refusalCode));
    }
}

}  // namespace vendura
