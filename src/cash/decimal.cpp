#include "cash/decimal.h"

#include "session/text.h"

namespace vendura {
namespace {

__extension__ typedef __int128 Wide;

constexpr qint64 kMax = 9200000000000000000LL;

Result<Decimal> checked(Wide units) {
    if (units > kMax || units < -kMax) return Error{0, u"Número demasiado grande"_s};
    return Decimal::fromUnits(static_cast<qint64>(units));
}

// The quotient rounded half away from zero.
Wide roundedDivision(Wide n, Wide d) {
    const bool negative = (n < 0) != (d < 0);
    const Wide an = n < 0 ? -n : n;
    const Wide ad = d < 0 ? -d : d;
    const Wide q = (an + ad / 2) / ad;
    return negative ? -q : q;
}

}  // namespace

Result<Decimal> Decimal::parse(const QString& text) {
    const QString t = text.trimmed();
    const Error bad{0, u"Número inválido: "_s + t};
    qsizetype i = 0;
    const bool negative = t.startsWith(u'-');
    if (negative) ++i;
    Wide whole = 0;
    Wide fraction = 0;
    int decimals = 0;
    int digits = 0;
    bool separator = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'.' || c == u',') {
            if (separator) return bad;
            separator = true;
        } else if (c >= u'0' && c <= u'9') {
            ++digits;
            const int d = c.unicode() - u'0';
            if (!separator) {
                whole = whole * 10 + d;
                if (whole > kMax / kScale) return Error{0, u"Número demasiado grande"_s};
            } else if (decimals < kDecimals) {
                fraction = fraction * 10 + d;
                ++decimals;
            } else if (d != 0) {
                return Error{0, u"Más de ocho decimales: "_s + t};
            }
        } else {
            return bad;
        }
    }
    if (digits == 0) return bad;
    for (; decimals < kDecimals; ++decimals) fraction *= 10;
    const Wide units = whole * kScale + fraction;
    return checked(negative ? -units : units);
}

Result<Decimal> Decimal::plus(Decimal o) const {
    return checked(Wide(units_) + o.units_);
}

Result<Decimal> Decimal::minus(Decimal o) const {
    return checked(Wide(units_) - o.units_);
}

Result<Decimal> Decimal::times(Decimal o) const {
    return checked(roundedDivision(Wide(units_) * o.units_, kScale));
}

Result<Decimal> Decimal::dividedBy(Decimal o) const {
    if (o.units_ == 0) return Error{0, u"No se puede dividir entre cero"_s};
    return checked(roundedDivision(Wide(units_) * kScale, o.units_));
}

QString Decimal::display() const {
    const bool negative = units_ < 0;
    const quint64 magnitude = negative ? quint64(-(units_ + 1)) + 1 : quint64(units_);
    QString out = groupThousands(QString::number(magnitude / kScale));
    QString fraction = QString::number(magnitude % kScale).rightJustified(kDecimals, u'0');
    while (fraction.endsWith(u'0')) fraction.chop(1);
    if (!fraction.isEmpty()) out += u',' + fraction;
    return negative ? u'-' + out : out;
}

}  // namespace vendura
