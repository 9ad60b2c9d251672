#include "session/money.h"

#include "session/text.h"

namespace vendura {
namespace {

constexpr int kMaxWholeDigits = 14;
constexpr int kDecimals = 4;

Error invalid(const QString& text) {
    return Error{0, u"Monto inválido: "_s + text};
}

}  // namespace

Result<Money> Money::parse(const QString& text) {
    const QString t = text.trimmed();
    auto digit = [&](qsizetype at) { return at < t.size() && t[at] >= u'0' && t[at] <= u'9'; };
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    qint64 whole = 0;
    int significant = 0;
    int digits = 0;
    for (; digit(i); ++i, ++digits) {
        if (whole > 0 || t[i] != u'0') ++significant;
        if (significant > kMaxWholeDigits) return invalid(text);
        whole = whole * 10 + (t[i].unicode() - u'0');
    }
    qint64 fraction = 0;
    int kept = 0;
    if (i < t.size() && (t[i] == u'.' || t[i] == u',')) {
        for (++i; digit(i); ++i, ++digits) {
            const int d = t[i].unicode() - u'0';
            if (kept < kDecimals) {
                fraction = fraction * 10 + d;
                ++kept;
            } else if (d != 0) {
                return invalid(text);
            }
        }
    }
    if (i != t.size() || digits == 0) return invalid(text);
    for (; kept < kDecimals; ++kept) fraction *= 10;
    const qint64 units = whole * kScale + fraction;
    return Money(negative ? -units : units);
}

Result<Money> Money::parseDisplay(const QString& text) {
    QString t = text.trimmed();
    t.remove(u'.');
    return parse(t);
}

QString Money::display() const {
    const bool negative = units_ < 0;
    const quint64 magnitude = negative ? quint64(-(units_ + 1)) + 1 : quint64(units_);
    const quint64 cents = (magnitude + 50) / 100;  // half away from zero
    const QString whole = groupThousands(QString::number(cents / 100));
    const QString decimals = QString::number(cents % 100).rightJustified(2, u'0');
    return (negative && cents != 0 ? u"-"_s : QString()) + whole + u',' + decimals;
}

QString Money::plain() const {
    const bool negative = units_ < 0;
    const quint64 magnitude = negative ? quint64(-(units_ + 1)) + 1 : quint64(units_);
    QString out = QString::number(magnitude / kScale);
    QString fraction = QString::number(magnitude % kScale).rightJustified(kDecimals, u'0');
    while (fraction.endsWith(u'0')) fraction.chop(1);
    if (!fraction.isEmpty()) out += u'.' + fraction;
    return negative ? u'-' + out : out;
}

Result<Money> Money::bolivaresToFuertes() const {
    if (units_ % 1000 != 0) {
        return Error{0, u"El monto en Bs. no se puede expresar en Bs.F.: "_s + plain()};
    }
    return Money(units_ / 1000);
}

QString comaapunto(QString text) {
    return text.replace(u',', u'.');
}

QString puntoacoma(QString text) {
    return text.replace(u'.', u',');
}

QString numberText(double value) {
    return QString::number(value, 'g', 15).replace(u'.', u',');
}

}  // namespace vendura
