#pragma once
// The day's sales drawn with Qt's own painting: a bar per lottery, and a bar per hour of issue.
#include "office/network_view.h"

#include <QWidget>

namespace vendura::office {

class SalesChart final : public QWidget {
    Q_OBJECT
  public:
    explicit SalesChart(QWidget* parent = nullptr);
    void setSales(DaySales sales);
    const DaySales& sales() const { return sales_; }
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    DaySales sales_;
};

}  // namespace vendura::office
