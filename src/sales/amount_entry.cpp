#include "sales/amount_entry.h"

#include <QRegularExpression>

namespace vendura {

bool numberFieldAccepts(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool amountFieldAccepts(const QString& text, QChar c) {
    if (c >= u'0' && c <= u'9') return true;
    return c == u'.' && !text.contains(u'.') && !text.contains(u',');
}

Result<Money> amountToSend(const QString& typed, bool montobsf, int maxChars) {
    constexpr qint64 kCentimo = Money::kScale / 100;
    const Error finerThanCentimos{
        0, montobsf ? u"Monto inválido: en Bs.F. el monto lleva a lo sumo dos decimales "
                      u"(céntimos)."_s
                    : u"Monto inválido: en Bs. el monto debe ser múltiplo de 10 "
                      u"(10 Bs. son 0,01 Bs.F.)."_s};
    static const QRegularExpression decimal(u"^\\s*(\\d+([.,]\\d*)?|[.,]\\d+)\\s*$"_s);
    const auto amount = Money::parse(typed);
    if (!amount) {
        // a number written right with more decimals than a céntimo has says so; anything else
        // cannot be read
        if (decimal.match(typed).hasMatch()) return finerThanCentimos;
        return Error{0, u"Monto inválido: no se puede leer el monto."_s};
    }
    if (!amount.value().isPositive()) {
        return Error{0, u"Monto inválido: escriba un monto mayor que cero."_s};
    }
    const qint64 units = amount.value().units();
    if ((montobsf && units % kCentimo != 0) || (!montobsf && units % (1000 * kCentimo) != 0)) {
        return finerThanCentimos;
    }
    const Money fuertes = montobsf ? amount.value() : Money::fromUnits(units / 1000);
    // the most the server books in one play
    if (fuertes > Money::parse(u"999999.99"_s).value() || fuertes.plain().size() > maxChars) {
        return Error{0, u"Monto inválido: "_s + fuertes.display() + u" Bs.F. es demasiado."_s};
    }
    return fuertes;
}

QString amountUnitCaption(bool montobsf) {
    return montobsf ? u"F9 - Monto Bs.F."_s : u"F9 - Monto Bs."_s;
}

}  // namespace vendura
