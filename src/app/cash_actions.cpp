#include "app/cash_actions.h"

#include "cash/screens/calculator_screen.h"
#include "cash/screens/change_calculator_screen.h"
#include "cash/screens/lottery_activation_screen.h"
#include "sales/screens/sales_actions.h"
#include "sales/screens/sales_screen.h"
#include "session/screens/parameter_screen.h"
#include "session/server_link.h"

#include <QLabel>

namespace vendura {

void registerCashActions(SalesActions& actions) {
    actions.set(SalesCommand::ActivarLoterias, [](SalesScreen& sales) {
        LotteryActivationScreen screen(sales.link(), &sales);
        if (screen.load()) screen.exec();
    });
    actions.set(SalesCommand::Vuelto, [](SalesScreen& sales) {
        // the amount exactly as the sales screen shows it under its control name
        const auto* montoUltick = sales.findChild<QLabel*>(u"MONTO_ULTICK"_s);
        ChangeCalculatorScreen screen(montoUltick ? montoUltick->text() : QString(),
                                      sales.link().session(), &sales);
        screen.exec();
    });
    actions.set(SalesCommand::Parametros, [](SalesScreen& sales) {
        ParameterScreen screen(sales.link(), &sales);
        if (screen.load()) screen.exec();
    });
    actions.set(SalesCommand::Calculadora,
                [](SalesScreen& screen) { (new CalculatorScreen(&screen))->open(); });
}

}  // namespace vendura
