#include "app/aftersale_actions.h"

#include "aftersale/screens/cancellation_screen.h"
#include "sales/screens/sales_actions.h"
#include "sales/screens/sales_screen.h"

namespace vendura {

void registerAftersaleActions(SalesActions& actions) {
    actions.set(SalesCommand::AnularTicket, [](SalesScreen& sales) {
        CancellationScreen screen(sales.link(), &sales);
        screen.exec();
    });
}

}  // namespace vendura
