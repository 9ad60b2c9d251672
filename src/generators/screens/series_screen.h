#pragma once

#include "generators/screens/generator_screen.h"

namespace vendura {

// Form5 "Venta de Series de Números": the ten numbers ending in the one or two digits typed,
// each for the whole amount. As SerieEsp, "Venta de Series Especiales", the same for the special
// play being sold.
class SeriesScreen : public GeneratorScreen {
    Q_OBJECT
  public:
    SeriesScreen(SalesScreen& sales, bool special);
    void sell() override;

  private:
    bool special_;
    QLineEdit* text1_ = nullptr;
};

}  // namespace vendura
