#pragma once

#include "reports/screens/report_screen.h"

class QComboBox;

namespace vendura {

// "Reporte de Tickets": the winning tickets of a period, "Resumido" or "Detallado" (`Combo3`).
class PrizeReportScreen : public ReportScreen {
    Q_OBJECT
  public:
    PrizeReportScreen(ReportDeps deps, QWidget* parent = nullptr);

  protected:
    std::optional<QStringList> build(ReportLink& link) override;

  private:
    QComboBox* combo3_;
};

// The sales report of a day: what the seller sold and the tickets cancelled.
class SalesReportScreen : public ReportScreen {
    Q_OBJECT
  public:
    SalesReportScreen(ReportDeps deps, QWidget* parent = nullptr);

  protected:
    std::optional<QStringList> build(ReportLink& link) override;
};

// "Relación Final" of a period, "Resumido", "Detallado" or "Loterias" (`Combo1`).
class FinalReportScreen : public ReportScreen {
    Q_OBJECT
  public:
    FinalReportScreen(ReportDeps deps, QWidget* parent = nullptr);

  protected:
    std::optional<QStringList> build(ReportLink& link) override;

  private:
    QComboBox* combo1_;
};

// The account statement with the central office on a day.
class AccountStatementScreen : public ReportScreen {
    Q_OBJECT
  public:
    AccountStatementScreen(ReportDeps deps, QWidget* parent = nullptr);

  protected:
    std::optional<QStringList> build(ReportLink& link) override;
};

}  // namespace vendura
