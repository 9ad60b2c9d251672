#pragma once
// The day's sales of the network at the desk, per lottery and per hour, read again every few
// seconds while shown.
#include "office/admin_link.h"

#include <QDate>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTimer;

namespace vendura {
class Dialogs;
}

namespace vendura::office {

class SalesChart;

class SalesScreen final : public QWidget {
    Q_OBJECT
  public:
    SalesScreen(AdminLink& link, Dialogs& dialogs, const QDate& today, QWidget* parent = nullptr);

    // Reads the day in the field (Enter); a refusal is shown in a box.
    void refresh();
    SalesChart* chart() const { return chart_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Reads the day shown again, as the timer does: a failure is said on the screen, and the next
    // round tries again.
    void reread();
    bool read(const QString& day, bool quiet);

    AdminLink& link_;
    Dialogs& dialogs_;
    QLineEdit* day_;
    QLabel* summary_;
    SalesChart* chart_;
    QTimer* timer_;
    QString shownDay_;  // the day on screen, as accepted with Enter
};

}  // namespace vendura::office
