#include "cash/change_calculator.h"

#include "session/money.h"

namespace vendura {

bool cashFieldAccepts(const QString& text, QChar typed) {
    if (typed >= u'0' && typed <= u'9') return true;
    return typed == u'.' && !text.contains(u'.');
}

QString changeCaption(const QString& totalCaption, const QString& cash, const QString& previous) {
    if (cash.isEmpty()) return u"0"_s;
    const Result<Money> total = Money::parseDisplay(totalCaption);
    const Result<Money> given = Money::parse(cash);
    // a lone "." or a total that is not an amount gives no change to show
    if (!total || !given) return previous;
    const Money change = given.value() - total.value();
    return change.units() >= 0 ? change.display() : previous;
}

}  // namespace vendura
