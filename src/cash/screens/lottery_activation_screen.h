#pragma once

#include "session/screens/secondary_screen.h"

class QLabel;
class QListWidget;

namespace vendura {

class ServerLink;

// activarloterias: the lotteries of the sales point, the open ones selected; the seller changes
// the selection and saves which ones the sales point sells.
class LotteryActivationScreen : public SecondaryScreen {
    Q_OBJECT
  public:
    LotteryActivationScreen(ServerLink& link, QWidget* parent = nullptr);

    // Fills List1 with "Dsplotactiva"; false (after the common message) when the call failed,
    // and the screen is not to be shown.
    bool load();
    // XPButton1: "activaloterias" with every entry and its flag, then the confirmation.
    void grabar();
    // A click on Label1 or "*": every entry changes its selection.
    void invertSelection();

  protected:
    QWidget* firstField() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ServerLink& link_;
    QListWidget* list1_ = nullptr;
    QLabel* label1_ = nullptr;
};

}  // namespace vendura
