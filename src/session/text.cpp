#include "session/text.h"

#include "platform/result.h"

namespace vendura {

QString rightTrimmed(QString text) {
    while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
    return text;
}

QString tenDigitTicket(const QString& number) {
    return number.trimmed().rightJustified(10, u'0');
}

QString markNumber(const QString& digits) {
    const QString n = digits.trimmed();
    if (n.size() == 1) return n + u"**"_s;
    if (n.size() == 2) return n + u"*"_s;
    return n;
}

QString groupThousands(const QString& digits) {
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += u'.';
        out += digits[i];
    }
    return out;
}

}  // namespace vendura
