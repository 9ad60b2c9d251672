#pragma once
// The sales points and their sellers at the desk: each point with what the office set for it;
// creating, suspending and reactivating points and sellers, their passwords, cancellation
// windows, prize expiry, quota shares, commissions, messages to one or all, and the office's own
// logins. Enter on a point lists its sellers.
#include "office/screens/action_screen.h"

namespace vendura::office {

class PointsScreen final : public ActionScreen {
    Q_OBJECT
  public:
    PointsScreen(AdminLink& link, Dialogs& dialogs, QWidget* parent = nullptr);

    QTableWidget* sellers() const { return sellers_; }

  protected:
    Result<std::vector<QStringList>> rows() override;
    void rowChosen(const QStringList& row) override;
    void rowKey(const QStringList& row, bool remove) override;

  private:
    QTableWidget* sellers_;
};

}  // namespace vendura::office
