#include "office/screens/payouts_screen.h"

#include "office/account_book.h"
#include "office/screens/action_form.h"

namespace vendura::office {

PayoutsScreen::PayoutsScreen(AdminLink& link, Dialogs& dialogs, QWidget* parent)
    : ActionScreen(
          link, dialogs, u"Pagos"_s,
          {u"Lotería"_s, u"Tipo"_s, u"Variante"_s, u"Multiplicador"_s, u"Desde"_s, u"Hasta"_s},
          payoutActions(),
          u"Cada pago con sus fechas. Uno nuevo cuenta para lo que se venda desde ese "
          u"momento; los premios ya ganados no cambian. Intro lleva el pago elegido al "
          u"formulario."_s,
          parent) {
    setObjectName(u"PayoutsScreen"_s);
}

Result<std::vector<QStringList>> PayoutsScreen::rows() {
    auto table = payoutHistory(link_);
    if (!table) return table.error();
    std::vector<QStringList> rows;
    for (const Payout& p : table.value()) {
        rows.push_back({p.lottery, p.kind, p.variant, p.multiplier,
                        p.since.isEmpty() ? u"desde el inicio"_s : p.since,
                        p.until.isEmpty() ? u"en vigor"_s : p.until});
    }
    return rows;
}

void PayoutsScreen::rowChosen(const QStringList& row) {
    form()->fill(u"Lotería"_s, row[0]);
    form()->fill(u"Tipo de premio"_s, row[1]);
    form()->fill(u"Variante"_s, row[2]);
}

void PayoutsScreen::rowKey(const QStringList& row, bool remove) {
    if (remove) return;
    rowChosen(row);
    form()->focusFirstEmpty();
}

}  // namespace vendura::office
