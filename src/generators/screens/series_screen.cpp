#include "generators/screens/series_screen.h"

#include "generators/number_lists.h"
#include "sales/screens/sales_screen.h"

#include <QLineEdit>

namespace vendura {

SeriesScreen::SeriesScreen(SalesScreen& sales, bool special)
    : GeneratorScreen(sales, special ? "SerieEsp" : "Form5",
                      special ? u"Venta de Series Especiales"_s : u"Venta de Series de Números"_s),
      special_(special) {
    text1_ = addField("Label1", u"Serie a Generar del:"_s, "Text1", 2);
    addAmount("Label2", special ? u"Monto a vender "_s : u"Monto Bs."_s);
    digitField(text1_, 1, amountField());
}

void SeriesScreen::sell() {
    const QString ending = text1_->text().trimmed();
    sales().state().jugadaactual = special_ ? u"Series Especiales"_s : serieLabel(ending);
    const auto t = target(special_);
    if (!t) return;
    const auto amount = positiveAmount();
    if (!amount) return;
    const auto items = generatedItems(t->lotteries, serieNumbers(ending), *amount, t->variants);
    const ProcedureCall call =
        special_ ? xcreaseriesESPE(caller(), ending, amount->plain(), t->codes(), *t->special)
                 : xcreaseries(caller(), ending, amount->plain(), t->codes());
    sellItems(call, items, *t, !special_, *amount);
}

}  // namespace vendura
