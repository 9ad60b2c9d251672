#pragma once

#include "generators/screens/generator_screen.h"

class QListWidget;

namespace vendura {

// Form12 "Repetir jugada por Loterias": the plays of the open ticket on the lotteries selected
// on the sales screen (its special-play list in special mode) are repeated by the server on the
// lotteries chosen here, for the amount typed or, with "0", each for its own amount. The
// screen closes after the sale; the time it took shows in the sales screen's status bar.
class RepeatScreen : public GeneratorScreen {
    Q_OBJECT
  public:
    explicit RepeatScreen(SalesScreen& sales);
    void sell() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QListWidget* list1_ = nullptr;
};

}  // namespace vendura
