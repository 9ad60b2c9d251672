#pragma once

#include <QString>

namespace vendura {

class Clock;
class Printers;
class SalesActions;

// The after-sale screens the sales screen opens: ticket cancellation (F3, "B", XPButton10),
// prize payment (F4) and draw results (F12).
void registerAfterSaleActions(SalesActions& actions, Printers& printers, Clock& clock,
                              const QString& journalFolder);

}  // namespace vendura
