#include "sales/amount_entry.h"

namespace vendura {

bool numberFieldAccepts(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool amountFieldAccepts(const QString& text, QChar c) {
    if (c >= u'0' && c <= u'9') return true;
    return c == u'.' && !text.contains(u'.') && !text.contains(u',');
}

Result<Money> amountToSend(const QString& typed, bool montobsf, int maxChars) {
    auto amount = Money::parse(typed);
    if (amount && !montobsf) amount = amount.value().bolivaresToFuertes();
    if (!amount) return amount.error();
    if (!amount.value().isPositive()) return Error{0, u"El monto debe ser mayor que cero"_s};
    if (amount.value().plain().size() > maxChars) {
        return Error{0, u"El monto "_s + amount.value().plain() + u" es demasiado largo"_s};
    }
    return amount;
}

QString amountUnitCaption(bool montobsf) {
    return montobsf ? u"F9 - Monto Bs.F."_s : u"F9 - Monto Bs."_s;
}

}  // namespace vendura
