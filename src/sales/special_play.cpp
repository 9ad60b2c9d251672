#include "sales/special_play.h"

#include "sales/lottery_catalog.h"

namespace vendura {

SpecialCatalog::SpecialCatalog(const RecordSet& especiales, const RecordSet& detalles) {
    for (int i = 0; i < especiales.size(); ++i) {
        const QString code = especiales.text(i, u"especial"_s).trimmed();
        if (!code.isEmpty())
            plays_.push_back({code, especiales.text(i, u"descripcion"_s).trimmed()});
    }
    for (int i = 0; i < detalles.size(); ++i) {
        const QString jugada = detalles.text(i, u"Jugada"_s).trimmed();
        if (jugada.isEmpty()) continue;
        variants_.push_back({detalles.text(i, u"especial"_s).trimmed(), jugada,
                             detalles.text(i, u"desc_jugada"_s).trimmed()});
    }
}

const SpecialPlay* SpecialCatalog::find(const QString& code) const {
    for (const SpecialPlay& p : plays_) {
        if (p.code.compare(code.trimmed(), Qt::CaseInsensitive) == 0) return &p;
    }
    return nullptr;
}

QStringList SpecialCatalog::lotteryEntries(const QString& code, const LotteryCatalog& rsloterias,
                                           const QString& loteriascerradas) const {
    QStringList closed;
    for (qsizetype at = 0; at < loteriascerradas.size(); at += 3)
        closed << loteriascerradas.mid(at, 3).trimmed();
    QStringList entries;
    for (const Lottery& l : rsloterias.all()) {
        if (l.juegaEspecial == u"N"_s || l.especial.compare(code.trimmed(), Qt::CaseInsensitive))
            continue;
        if (!closed.contains(l.code, Qt::CaseInsensitive)) entries << l.entry();
    }
    return entries;
}

QStringList SpecialCatalog::variantEntries(const QString& code) const {
    QStringList entries;
    for (const SpecialVariant& v : variants_) {
        if (v.especial.compare(code.trimmed(), Qt::CaseInsensitive) == 0) entries << v.entry();
    }
    return entries;
}

QString SpecialCatalog::variantDescription(const QString& code, const QString& jugada) const {
    for (const SpecialVariant& v : variants_) {
        if (v.especial.compare(code.trimmed(), Qt::CaseInsensitive) == 0 && v.jugada == jugada)
            return v.description;
    }
    return QString();
}

QString primerapalabra(const QString& text) {
    const qsizetype blank = text.indexOf(u' ');
    return blank < 0 ? text : text.left(blank);
}

QString variantCode(const QString& entry) {
    const QString trimmed = entry.trimmed();
    return trimmed.isEmpty() ? QString() : trimmed.right(1);
}

QString SpecialSelection::lotteryCodes() const {
    return codeList(lotteryEntries);
}

QString SpecialSelection::variantCodes() const {
    QString codes;
    for (const QString& e : variantEntries) codes += variantCode(e);
    return codes;
}

std::vector<PlannedItem> specialItems(const SpecialSelection& selection, const QString& number,
                                      Money amount, const SpecialCatalog& catalog) {
    std::vector<PlannedItem> items;
    for (const QString& lottery : selection.lotteryEntries) {
        for (const QString& variant : selection.variantEntries) {
            const QString code = variantCode(variant);
            items.push_back({lottery, number, amount, code,
                             catalog.variantDescription(selection.especial, code)});
        }
    }
    return items;
}

}  // namespace vendura
