#pragma once
// The counters selling now at the desk: each open ticket with its sales point, when it last
// played and the quota it holds, read again every few seconds; Supr releases one.
#include "office/admin_link.h"

#include <QWidget>

class QLabel;
class QTableWidget;
class QTimer;

namespace vendura {
class Dialogs;
}

namespace vendura::office {

class CountersScreen final : public QWidget {
    Q_OBJECT
  public:
    CountersScreen(AdminLink& link, Dialogs& dialogs, QWidget* parent = nullptr);

    void refresh();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // The chosen ticket, or every open ticket of its sales point, after a question.
    void releaseSelected(bool everyTicketOfThePoint);

    AdminLink& link_;
    Dialogs& dialogs_;
    QLabel* summary_;
    QTableWidget* tickets_;
    QTimer* timer_;
};

}  // namespace vendura::office
