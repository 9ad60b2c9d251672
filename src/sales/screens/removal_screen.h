#pragma once

#include "session/screens/secondary_screen.h"

class QListWidget;

namespace vendura {

class SalesScreen;

// Delete in L_ticket: asks, then takes the selected plays off the ticket, one server call per
// play, and switches the working mode to "1" (Esc then removes by lottery; "D" issues).
void removeSelectedPlays(SalesScreen& screen);

// Form13, "Eliminar jugadas por Loterias": takes every play of the chosen lotteries off the
// ticket at once.
class RemovalByLotteryScreen : public SecondaryScreen {
    Q_OBJECT
  public:
    explicit RemovalByLotteryScreen(SalesScreen& screen);

    // Command1: the plays of the selected lotteries go; the screen closes.
    void removeSelected();
    // Command2 and F12: every lottery is selected and its plays go.
    void removeAll();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    SalesScreen& screen_;
    QListWidget* list1_ = nullptr;
};

// The "E" key, XPButton9, Option3 and Esc in working mode "1".
void openRemovalByLottery(SalesScreen& screen);

}  // namespace vendura
