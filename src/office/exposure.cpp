#include "office/exposure.h"

#include "office/input.h"

#include <algorithm>

namespace vendura::office {

Money NumberExposure::quotaLeft() const {
    return vendido >= cupo ? Money() : cupo - vendido;
}

int NumberExposure::soldShare() const {
    if (!cupo.isPositive()) return 10000;
    const qint64 share = vendido.units() * 10000 / cupo.units();
    return int(std::clamp<qint64>(share, 0, 10000));
}

Result<std::vector<NumberExposure>> readExposure(const RecordSet& rows) {
    std::vector<NumberExposure> numbers;
    numbers.reserve(size_t(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        NumberExposure n;
        n.numero = rows.text(r, u"numero"_s);
        const std::pair<const char16_t*, Money*> fields[] = {{u"triple", &n.triple},
                                                             {u"terminal", &n.terminal},
                                                             {u"digito", &n.digito},
                                                             {u"especial", &n.especial},
                                                             {u"paga_primero", &n.pagaPrimero},
                                                             {u"paga_segundo", &n.pagaSegundo},
                                                             {u"paga_tercero", &n.pagaTercero},
                                                             {u"cupo", &n.cupo},
                                                             {u"vendido", &n.vendido}};
        for (const auto& [field, money] : fields) {
            auto amount = Money::parse(rows.text(r, QString::fromUtf16(field)));
            if (!amount) {
                return Error{amount.error().number, u"Cifra inválida del número "_s + n.numero +
                                                        u": "_s + QString::fromUtf16(field)};
            }
            *money = amount.value();
        }
        numbers.push_back(n);
    }
    return numbers;
}

std::vector<NumberExposure> topExposures(std::vector<NumberExposure> numbers, int count) {
    std::stable_sort(numbers.begin(), numbers.end(),
                     [](const NumberExposure& a, const NumberExposure& b) {
                         if (a.pagaPrimero != b.pagaPrimero) return a.pagaPrimero > b.pagaPrimero;
                         return a.numero < b.numero;
                     });
    if (count >= 0 && size_t(count) < numbers.size()) numbers.resize(size_t(count));
    return numbers;
}

Result<DrawExposure> readDrawExposure(AdminLink& link, const QString& lottery, const QString& day) {
    auto checked = isoDate(day.trimmed());
    if (!checked) return checked.error();
    auto rows = link.call(u"exposicion"_s, {lottery.trimmed().toUpper(), checked.value()});
    if (!rows) return rows.error();
    auto numbers = readExposure(rows.value());
    if (!numbers) return numbers.error();
    DrawExposure draw;
    draw.numbers = std::move(numbers.value());
    for (const NumberExposure& n : draw.numbers) {
        draw.segundo = draw.segundo || !n.pagaSegundo.isZero();
        draw.tercero = draw.tercero || !n.pagaTercero.isZero();
        draw.especial = draw.especial || !n.especial.isZero();
        draw.sold += n.vendido;
        draw.worst = std::max(draw.worst, n.pagaPrimero);
    }
    return draw;
}

QStringList exposureCaptions(const DrawExposure& draw) {
    // what it pays if it comes out first, second or third
    QStringList captions{u"Número"_s, u"Vendido"_s, u"Cupo restante"_s, u"% del cupo"_s,
                         u"Paga 1º"_s};
    if (draw.segundo) captions << u"Paga 2º"_s;
    if (draw.tercero) captions << u"Paga 3º"_s;
    if (draw.especial) captions << u"En especiales"_s;
    return captions;
}

QStringList exposureRow(const DrawExposure& draw, const NumberExposure& n) {
    QStringList row{n.numero, n.vendido.display(), n.quotaLeft().display(),
                    QString::number(n.soldShare() / 100), n.pagaPrimero.display()};
    if (draw.segundo) row << n.pagaSegundo.display();
    if (draw.tercero) row << n.pagaTercero.display();
    if (draw.especial) row << n.especial.display();
    return row;
}

}  // namespace vendura::office
