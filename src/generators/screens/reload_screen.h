#pragma once

#include "generators/screens/generator_screen.h"

class QListWidget;

namespace vendura {

// Form17 "Cargar desde un Ticket ya Vendido": the plays of one lottery (List2) of a ticket this
// sales point sold (Text1) are loaded by the server onto the lotteries chosen in List1, for the
// new amount or, with "0", each for its own amount. The screen closes after the sale; the time
// it took shows in the sales screen's status bar.
class ReloadScreen : public GeneratorScreen {
    Q_OBJECT
  public:
    explicit ReloadScreen(SalesScreen& sales);
    void sell() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool listKey(QListWidget* list, QKeyEvent* key);
    QStringList selected(const QListWidget* list) const;

    QLineEdit* text1_ = nullptr;
    QListWidget* list1_ = nullptr;
    QListWidget* list2_ = nullptr;
    bool warning_ = false;
};

}  // namespace vendura
