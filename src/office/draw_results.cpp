#include "office/draw_results.h"

#include "office/input.h"

namespace vendura::office {

Result<void> checkEntry(const DrawEntry& e) {
    if (auto day = isoDate(e.day); !day) return day.error();
    if (auto first = threeDigits(e.triple); !first) return first.error();
    for (const QString& other : {e.segundo, e.tercero, e.especial}) {
        if (other.isEmpty()) continue;
        if (auto digits = threeDigits(other); !digits) return digits.error();
    }
    return {};
}

Result<std::optional<int>> enterNumbers(AdminLink& link, const DrawEntry& e, bool correction) {
    if (auto checked = checkEntry(e); !checked) return checked.error();
    auto rows = link.call(correction ? u"corregir_resultado"_s : u"registrar_resultado"_s,
                          {e.lottery.trimmed().toUpper(), e.day, e.triple, orNull(e.segundo),
                           orNull(e.tercero), orNull(e.especial)});
    if (!rows) return rows.error();
    const FieldValue winners = rows.value().value(0, 0);
    return winners ? std::optional<int>(winners->toInt()) : std::nullopt;
}

Result<std::vector<PendingEntry>> pendingEntries(AdminLink& link) {
    auto rows = link.call(u"resultados_pendientes"_s, {});
    if (!rows) return rows.error();
    const RecordSet& r = rows.value();
    std::vector<PendingEntry> entries;
    for (int i = 0; i < r.size(); ++i) {
        entries.push_back({r.text(i, u"cod_lot"_s), r.text(i, u"fecha"_s),
                           r.text(i, u"correccion"_s) == u"t"_s, r.text(i, u"numeros"_s),
                           r.text(i, u"cuenta"_s), r.text(i, u"anotado"_s).mid(11, 8)});
    }
    return entries;
}

Result<QString> discardEntry(AdminLink& link, const QString& lottery, const QString& day) {
    if (auto d = isoDate(day); !d) return d.error();
    auto rows = link.call(u"descartar_resultado"_s, {lottery.trimmed().toUpper(), day});
    if (!rows) return rows.error();
    return rows.value().text(0, 0);
}

}  // namespace vendura::office
