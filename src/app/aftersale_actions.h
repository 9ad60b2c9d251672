#pragma once

#include <QString>

namespace vendura {

class Clock;
class Printers;
class SalesActions;

// Prize payment (F4) and draw results (F12) on the sales screen.
void registerAfterSaleActions(SalesActions& actions, Printers& printers, Clock& clock,
                              const QString& journalFolder);

}  // namespace vendura
