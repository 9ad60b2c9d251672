#include "generators/screens/terminal_screen.h"

#include "platform/dialogs.h"
#include "sales/screens/sales_screen.h"
#include "session/server_link.h"

#include <QLineEdit>

namespace vendura {

TerminalScreen::TerminalScreen(SalesScreen& sales, bool special)
    : GeneratorScreen(sales, special ? "Termiesp" : "Form11",
                      special ? u"Venta de Terminales Especiales"_s : u"Venta de Terminales"_s),
      special_(special) {
    addAmount("Label2", u"Monto a vender para los terminales"_s);
    addWaitText(u"Espere por Favor que se estan Generando las Terminales Solicitados..."_s);
}

bool TerminalScreen::mayOpen(SalesScreen& sales) {
    if (sales.ticket().total().isPositive()) return true;
    sales.dialogs().message(DialogIcon::None, kTituloPuntoVenta,
                            u"No Hay Triples para Vender los Terminales... Verifique por Favor"_s);
    return false;
}

void TerminalScreen::sell() {
    sales().state().jugadaactual = u"Terminales"_s;
    const auto t = target(special_);
    if (!t) return;
    if (amountField()->text().trimmed().isEmpty()) amountField()->setText(u"0"_s);
    const auto amount = amountOrZero();
    if (!amount) return;
    std::optional<Money> each;  // none: every terminal for its triple's own amount
    if (*amount != u"0"_s) each = Money::parse(*amount).value();
    const auto items = terminalItems(t->lotteries, sales().ticket().rows(), each, t->variants);
    const ProcedureCall call = special_ ? xjtermiesp(caller(), *amount, t->codes(), *t->special)
                                        : xjtermi(caller(), *amount, t->codes());
    sellItems(call, items, *t);
}

}  // namespace vendura
