#pragma once

namespace vendura {

class SalesActions;

// The after-sale screens the sales screen opens: F3, "B" and XPButton10, "Anulación de Tickets".
void registerAftersaleActions(SalesActions& actions);

}  // namespace vendura
