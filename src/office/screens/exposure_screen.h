#pragma once
// What the network stands to pay on a draw as it sells: the grid of its thousand numbers and the
// numbers that pay most if they come out first, read again every few seconds.
#include "office/admin_link.h"
#include "office/exposure.h"

#include <QDate>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTableWidget;
class QTimer;

namespace vendura {
class Dialogs;
}

namespace vendura::office {

class ExposureGrid;

class ExposureScreen final : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kTopNumbers = 15;

    ExposureScreen(AdminLink& link, Dialogs& dialogs, const QDate& today,
                   QWidget* parent = nullptr);

    // Reads the draw named in the fields (Enter); a refusal is shown in a box.
    void refresh();
    // Shows the figures of the number typed in its field, from the draw on screen: any of the
    // thousand, from the keyboard.
    void showNumber();

  private:
    // Reads the draw shown again, as the timer does: a failure is said on the screen, and the
    // next round tries again.
    void reread();
    bool read(const QString& lottery, const QString& day, bool quiet);

    AdminLink& link_;
    Dialogs& dialogs_;
    QLineEdit* lottery_;
    QLineEdit* day_;
    QLabel* summary_;
    ExposureGrid* grid_;
    QTableWidget* top_;
    QTimer* timer_;
    QLineEdit* number_;
    QLabel* numberFigures_;
    QString shownLottery_;  // the draw on screen, as accepted with Enter
    QString shownDay_;
    DrawExposure shown_;
};

}  // namespace vendura::office
