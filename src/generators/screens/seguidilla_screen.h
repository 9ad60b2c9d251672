#pragma once

#include "generators/screens/generator_screen.h"

namespace vendura {

// Form7 "Seguidillas": every number from "Desde:" to "Hasta", each for the whole amount.
class SeguidillaScreen : public GeneratorScreen {
    Q_OBJECT
  public:
    explicit SeguidillaScreen(SalesScreen& sales);
    void sell() override;

  private:
    QLineEdit* text1_ = nullptr;
    QLineEdit* text3_ = nullptr;
};

}  // namespace vendura
