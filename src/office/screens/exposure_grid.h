#pragma once
// The thousand numbers of a draw, 000 to 999, each a cell coloured by the share of its quota
// sold: white for none, through yellow, to red when it is sold out.
#include "office/exposure.h"

#include <QWidget>

namespace vendura::office {

class ExposureGrid final : public QWidget {
    Q_OBJECT
  public:
    explicit ExposureGrid(QWidget* parent = nullptr);

    void setNumbers(std::vector<NumberExposure> numbers);
    const std::vector<NumberExposure>& numbers() const { return numbers_; }
    // The colour of a cell for a share sold (hundredths of a percent).
    static QColor shade(int soldShare);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

  private:
    int numberAt(const QPoint& at) const;

    std::vector<NumberExposure> numbers_;
};

}  // namespace vendura::office
