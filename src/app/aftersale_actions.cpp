#include "app/aftersale_actions.h"

#include "aftersale/screens/cancellation_screen.h"
#include "aftersale/screens/payment_screen.h"
#include "aftersale/screens/results_screen.h"
#include "sales/screens/sales_actions.h"
#include "sales/screens/sales_screen.h"

namespace vendura {

void registerAfterSaleActions(SalesActions& actions, Printers& printers, Clock& clock,
                              const QString& journalFolder) {
    actions.set(SalesCommand::AnularTicket, [](SalesScreen& sales) {
        CancellationScreen screen(sales.link(), &sales);
        screen.exec();
    });
    actions.set(SalesCommand::PagarTicket, [&printers, &clock, journalFolder](SalesScreen& s) {
        PaymentScreen screen(s.link(), printers, clock, journalFolder, &s);
        screen.exec();
    });
    actions.set(SalesCommand::Resultados, [&printers, &clock](SalesScreen& s) {
        ResultsScreen screen(s.link(), printers, clock, &s);
        if (screen.load()) screen.exec();
    });
}

}  // namespace vendura
