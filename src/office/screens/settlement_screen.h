#pragma once
// Settling a day at the desk: every sales point's statement on the day, and Enter on one
// settles it up to that day, after a question (a supervisor's decision).
#include "office/screens/action_screen.h"

#include <QDate>

class QLineEdit;

namespace vendura::office {

class SettlementScreen final : public ActionScreen {
    Q_OBJECT
  public:
    SettlementScreen(AdminLink& link, Dialogs& dialogs, const QDate& today,
                     QWidget* parent = nullptr);

  protected:
    Result<std::vector<QStringList>> rows() override;
    void rowChosen(const QStringList& row) override;
    void rowKey(const QStringList& row, bool remove) override;

  private:
    QLineEdit* day_;
    QString listed_;  // the day whose statements the list shows
};

}  // namespace vendura::office
