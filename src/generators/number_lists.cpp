#include "generators/number_lists.h"

namespace vendura {
namespace {

QString triple(QChar a, QChar b, QChar c) {
    return QString(a) + b + c;
}

bool allDigits(const QString& text) {
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return false;
    }
    return true;
}

}  // namespace

QStringList permutaciones(const QString& digits) {
    QStringList out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i + 2 < n; ++i) {
        for (qsizetype j = i + 1; j + 1 < n; ++j) {
            for (qsizetype m = j + 1; m < n; ++m) {
                const QChar a = digits[i], b = digits[j], c = digits[m];
                if (a == b && b == c) {
                    out << triple(a, b, c);
                    break;
                }
                if (a != b && a != c && b != c) {
                    out << triple(a, b, c) << triple(a, c, b) << triple(b, a, c) << triple(b, c, a)
                        << triple(c, a, b) << triple(c, b, a);
                } else if (a == b) {
                    out << triple(a, a, c) << triple(a, c, a) << triple(c, a, a);
                } else if (a == c) {
                    out << triple(a, b, a) << triple(b, a, a) << triple(a, a, b);
                } else {
                    out << triple(a, b, b) << triple(b, a, b) << triple(b, b, a);
                }
            }
        }
    }
    return out;
}

QStringList serieNumbers(const QString& ending) {
    const QString t = ending.trimmed();
    if (t.isEmpty() || t.size() > 2 || !allDigits(t)) return {};
    QStringList out;
    for (int k = 0; k <= 9; ++k) out << QString::number(k) + t.rightJustified(2, u'0');
    return out;
}

QStringList seguidillaNumbers(int first, int last) {
    QStringList out;
    for (int k = first; k <= last; ++k) out << QString::number(k).rightJustified(3, u'0');
    return out;
}

bool seguidillaTooLong(int longitudpermuta, int first, int last) {
    return longitudpermuta == 3 && last - first > 10;
}

QStringList posicionados(QChar digit, const QString& mode) {
    const bool known = mode == u"1"_s || mode == u"2"_s || mode == u"3"_s;
    if (digit < u'0' || digit > u'9' || !known) return {};
    QStringList out;
    for (char16_t i = u'0'; i <= u'9'; ++i) {
        for (char16_t j = u'0'; j <= u'9'; ++j) {
            if (mode == u"1"_s) {
                out << triple(digit, QChar(i), QChar(j));
            } else if (mode == u"2"_s) {
                out << triple(QChar(i), digit, QChar(j));
            } else {
                out << triple(QChar(i), QChar(j), digit);
            }
        }
    }
    return out;
}

int randomDigit(quint32 draw) {
    const quint64 spread = 2000000001ULL;
    const quint64 at = draw == 0 ? 0 : (quint64(draw) - 1) % spread;
    return int(at * 9 / spread);
}

std::vector<TerminalSource> terminalSources(const std::vector<ItemTicket>& rows,
                                            const QString& code) {
    std::vector<TerminalSource> out;
    for (const ItemTicket& r : rows) {
        const QString number = r.numero.trimmed();
        if (!r.loteria.startsWith(code) || r.sinCupo() || r.tipo != u"1"_s) continue;
        if (number.size() != 3 || !allDigits(number)) continue;
        out.push_back({number.mid(1) + u"*"_s, *r.monto});
    }
    return out;
}

QString permutaLabel(const QString& digits) {
    return u"Permuta "_s + digits;
}

QString serieLabel(const QString& ending) {
    return u"Serie 0"_s + ending + u" - 9"_s + ending;
}

QString seguidillaLabel(const QString& first, const QString& last) {
    return u"Seguidilla "_s + first.trimmed() + u" - "_s + last.trimmed();
}

}  // namespace vendura
