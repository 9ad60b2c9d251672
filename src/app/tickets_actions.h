#pragma once

namespace vendura {

class Printers;
class SalesActions;

// The ticket screens the sales screen opens: F2 and XPButton12, "Consulta Tickets".
void registerTicketActions(SalesActions& actions, Printers& printers);

}  // namespace vendura
