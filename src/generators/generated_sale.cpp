#include "generators/generated_sale.h"

#include "generators/number_lists.h"
#include "sales/lottery_catalog.h"

#include <QHash>

#include <algorithm>

namespace vendura {

std::vector<SaleVariant> selectedVariants(const SpecialSelection& selection,
                                          const SpecialCatalog& catalog) {
    std::vector<SaleVariant> out;
    for (const QString& entry : selection.variantEntries) {
        const QString code = variantCode(entry);
        out.push_back({code, catalog.variantDescription(selection.especial, code)});
    }
    return out;
}

std::vector<PlannedItem> generatedItems(const QStringList& lotteryEntries,
                                        const PlaysOfLottery& plays,
                                        const std::vector<SaleVariant>& variants) {
    static const std::vector<SaleVariant> kNoVariant{{}};
    std::vector<PlannedItem> items;
    for (const QString& entry : lotteryEntries) {
        const std::vector<GeneratedPlay> formed = plays(entryCode(entry));
        for (const SaleVariant& v : variants.empty() ? kNoVariant : variants) {
            for (const GeneratedPlay& p : formed)
                items.push_back({entry, p.number, p.amount, v.code, v.description});
        }
    }
    return items;
}

std::vector<PlannedItem> generatedItems(const QStringList& lotteryEntries,
                                        const QStringList& numbers, Money amount,
                                        const std::vector<SaleVariant>& variants) {
    std::vector<GeneratedPlay> plays;
    for (const QString& n : numbers) plays.push_back({n, amount});
    return generatedItems(
        lotteryEntries, [&](const QString&) { return plays; }, variants);
}

std::vector<PlannedItem> terminalItems(const QStringList& lotteryEntries,
                                       const std::vector<ItemTicket>& ticket,
                                       std::optional<Money> amount,
                                       const std::vector<SaleVariant>& variants) {
    return generatedItems(
        lotteryEntries,
        [&](const QString& code) {
            std::vector<GeneratedPlay> plays;
            for (const TerminalSource& s : terminalSources(ticket, code))
                plays.push_back({s.terminal, amount.value_or(s.amount)});
            return plays;
        },
        variants);
}

namespace {

// The group number of a label "<number><jugadaactual>" (with or without a closing "*"); 0 when
// the label is no group of that play.
int groupOf(const QString& label, const QString& jugadaactual) {
    qsizetype digits = 0;
    while (digits < label.size() && label[digits].isDigit()) ++digits;
    if (digits == 0) return 0;
    QString rest = label.mid(digits);
    if (rest.endsWith(u'*')) rest.chop(1);
    return rest == jugadaactual ? label.left(digits).toInt() : 0;
}

}  // namespace

bool groupSale(const std::vector<ItemTicket>& ticket, std::vector<ItemTicket>& sale,
               const QString& codes, const QString& jugadaactual, Money asked) {
    int g = 0;
    bool modoDetallado = false;
    for (const ItemTicket& r : ticket) {
        if (r.tipo2.endsWith(u'*')) modoDetallado = true;
        for (qsizetype at = 0; at + 3 <= codes.size(); at += 3) {
            if (r.codigoLoteria() == codes.mid(at, 3).trimmed())
                g = std::max(g, groupOf(r.tipo2, jugadaactual));
        }
    }
    QHash<QString, bool> whole;  // lottery code: every item of the sale sold in full
    for (const ItemTicket& r : sale) {
        const bool full = r.monto && *r.monto == asked;
        whole.insert(r.codigoLoteria(), whole.value(r.codigoLoteria(), true) && full);
    }
    const QString label = QString::number(g + 1) + jugadaactual;
    for (ItemTicket& r : sale) {
        if (r.tipo2 == jugadaactual)
            r.tipo2 = whole.value(r.codigoLoteria()) ? label + u"*"_s : label;
    }
    return modoDetallado;
}

}  // namespace vendura
