#include "office/exposure.h"

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

}  // namespace vendura::office
