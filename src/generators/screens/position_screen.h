#pragma once

#include "generators/screens/generator_screen.h"

#include <array>

class QRadioButton;

namespace vendura {

// Form10 "Venta de Números Por Posición": the hundred numbers carrying the digit typed in the
// position chosen (left, centre, right), each for the whole amount.
class PositionScreen : public GeneratorScreen {
    Q_OBJECT
  public:
    explicit PositionScreen(SalesScreen& sales);
    void sell() override;
    // T_MODO: "1" left, "2" centre, "3" right, empty when no option is chosen.
    QString mode() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* text1_ = nullptr;
    std::array<QRadioButton*, 3> options_{};
};

}  // namespace vendura
