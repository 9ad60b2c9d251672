#include "app/cash_actions.h"

#include "cash/screens/calculator_screen.h"
#include "sales/screens/sales_actions.h"
#include "sales/screens/sales_screen.h"

namespace vendura {

void registerCashActions(SalesActions& actions) {
    actions.set(SalesCommand::Calculadora,
                [](SalesScreen& screen) { (new CalculatorScreen(&screen))->open(); });
}

}  // namespace vendura
