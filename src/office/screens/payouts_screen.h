#pragma once
// The payouts at the desk, every one with the moment it began and the moment the next replaced
// it; a new payout counts for what is sold from then on, never for prizes already won.
#include "office/screens/action_screen.h"

namespace vendura::office {

class PayoutsScreen final : public ActionScreen {
    Q_OBJECT
  public:
    PayoutsScreen(AdminLink& link, Dialogs& dialogs, QWidget* parent = nullptr);

  protected:
    Result<std::vector<QStringList>> rows() override;
    void rowChosen(const QStringList& row) override;
    void rowKey(const QStringList& row, bool remove) override;
};

}  // namespace vendura::office
