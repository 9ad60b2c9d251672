#pragma once

#include "generators/screens/generator_screen.h"

namespace vendura {

// Form8 "Venta de Permutas de Números": every three-digit number the typed digits form, each
// for the whole amount, on the lotteries selected on the sales screen. As Permuespe, the same
// for the special play being sold ("Superpermutas").
class PermutationScreen : public GeneratorScreen {
    Q_OBJECT
  public:
    PermutationScreen(SalesScreen& sales, bool special);
    void sell() override;

  protected:
    void amountKey() override;

  private:
    bool special_;
    QLineEdit* text1_ = nullptr;
};

}  // namespace vendura
