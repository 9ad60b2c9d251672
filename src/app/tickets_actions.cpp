#include "app/tickets_actions.h"

#include "sales/screens/sales_actions.h"
#include "sales/screens/sales_screen.h"
#include "tickets/screens/ticket_list_screen.h"

namespace vendura {

void registerTicketActions(SalesActions& actions, Printers& printers) {
    actions.set(SalesCommand::TicketsDelDia, [&printers](SalesScreen& sales) {
        TicketListScreen screen(sales.link(), printers, &sales);
        screen.exec();
    });
}

}  // namespace vendura
