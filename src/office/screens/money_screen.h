#pragma once
// The sales points' money at the desk: the movements their counters declared, waiting for the
// office (Enter confirms one, Supr rejects it with a reason), the statement of an account on a
// day, and deposits, loans and settlements.
#include "office/screens/action_screen.h"

#include <QDate>

class QLineEdit;

namespace vendura::office {

class MoneyScreen final : public ActionScreen {
    Q_OBJECT
  public:
    MoneyScreen(AdminLink& link, Dialogs& dialogs, const QDate& today, QWidget* parent = nullptr);

    // Shows the statement of the account and day written above it, and that day's deposits.
    void showStatement();
    QTableWidget* deposits() const { return deposits_; }

  protected:
    Result<std::vector<QStringList>> rows() override;
    void rowChosen(const QStringList& row) override;
    void rowKey(const QStringList& row, bool remove) override;

  private:
    QLineEdit* point_;
    QLineEdit* day_;
    QLabel* statement_;
    QTableWidget* deposits_;
};

}  // namespace vendura::office
