#pragma once

#include "generators/screens/generator_screen.h"

namespace vendura {

// Form11 "Venta de Terminales": the terminals of the triples already on the ticket (123 gives
// 23*), on each selected lottery for its own triples, all for one amount; "0" (or nothing)
// sells each terminal for its triple's own amount. As Termiesp, "Venta de Terminales
// Especiales", the same for the special play being sold.
class TerminalScreen : public GeneratorScreen {
    Q_OBJECT
  public:
    TerminalScreen(SalesScreen& sales, bool special);
    void sell() override;

    // An empty ticket has no triples: the screen does not open, and says so.
    static bool mayOpen(SalesScreen& sales);

  private:
    bool special_;
};

}  // namespace vendura
