#pragma once
// The central office's desk: one window, a screen per task, F2 to F10 to move between them.
#include "office/admin_link.h"

#include <QDate>
#include <QMainWindow>

#include <memory>
#include <utility>
#include <vector>

class QTabWidget;

namespace vendura {
class Dialogs;
}

namespace vendura::office {

class ResultsScreen;
class ExposureScreen;
class AuditScreen;
class CountersScreen;
class SalesScreen;
class MoneyScreen;
class PointsScreen;
class PayoutsScreen;
class SettlementScreen;

class DeskWindow final : public QMainWindow {
    Q_OBJECT
  public:
    DeskWindow(std::unique_ptr<AdminLink> link, const QString& login, Dialogs& dialogs,
               const QDate& today, QWidget* parent = nullptr);
    ~DeskWindow() override;

    ResultsScreen* results() const { return results_; }
    ExposureScreen* exposure() const { return exposure_; }
    AuditScreen* audit() const { return audit_; }
    CountersScreen* counters() const { return counters_; }
    SalesScreen* sales() const { return sales_; }
    MoneyScreen* money() const { return money_; }
    PointsScreen* points() const { return points_; }
    PayoutsScreen* payouts() const { return payouts_; }
    SettlementScreen* settlement() const { return settlement_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::unique_ptr<AdminLink> link_;
    QTabWidget* tabs_;
    ResultsScreen* results_;
    ExposureScreen* exposure_;
    AuditScreen* audit_;
    CountersScreen* counters_;
    SalesScreen* sales_;
    MoneyScreen* money_;
    PointsScreen* points_;
    PayoutsScreen* payouts_;
    SettlementScreen* settlement_;
    std::vector<std::pair<int, QWidget*>> keys_;  // F2... and the screen it shows
};

}  // namespace vendura::office
