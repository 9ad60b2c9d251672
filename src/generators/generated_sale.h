#pragma once

#include "sales/sale_result.h"
#include "sales/special_play.h"
#include "tickets/item_ticket.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace vendura {

// A variant of the special play a special generator sells, with its description.
struct SaleVariant {
    QString code;
    QString description;
};
// The variants selected on the sales screen (List2), in list order.
std::vector<SaleVariant> selectedVariants(const SpecialSelection& selection,
                                          const SpecialCatalog& catalog);

// One play a generator forms for a lottery: the number as the row shows it and its amount.
struct GeneratedPlay {
    QString number;
    Money amount;
};
using PlaysOfLottery = std::function<std::vector<GeneratedPlay>(const QString& code)>;

// The items of a generated sale in the order the server numbers them: lottery by lottery in
// list order; within a lottery, for a special play, variant by variant in list order; then the
// plays formed for that lottery, in their order.
std::vector<PlannedItem> generatedItems(const QStringList& lotteryEntries,
                                        const PlaysOfLottery& plays,
                                        const std::vector<SaleVariant>& variants = {});
// The same numbers on every lottery, each for the whole amount.
std::vector<PlannedItem> generatedItems(const QStringList& lotteryEntries,
                                        const QStringList& numbers, Money amount,
                                        const std::vector<SaleVariant>& variants = {});
// The terminals of each lottery's triples on the ticket, for the amount given or, without one,
// each for its triple's own amount.
std::vector<PlannedItem> terminalItems(const QStringList& lotteryEntries,
                                       const std::vector<ItemTicket>& ticket,
                                       std::optional<Money> amount,
                                       const std::vector<SaleVariant>& variants = {});

// The group a generator's sale is numbered as, in working mode "0", so that a later sale of
// the same play stays apart on the ticket: the sale's rows get in their play label (Tipo2) the
// number of the sale, one above the highest group of the same play on any of the sale's
// lotteries ("1Permuta 123", then "2Permuta 123"). On a lottery where every item of the sale was
// sold in full for the amount asked, the label also ends in "*": the printed ticket then shows
// the label once instead of the numbers. The sale's rows are changed in place; the answer says
// whether the working mode must become "1", which a row of the ticket whose label ends in "*"
// asks for.
bool groupSale(const std::vector<ItemTicket>& ticket, std::vector<ItemTicket>& sale,
               const QString& codes, const QString& jugadaactual, Money asked);

}  // namespace vendura
