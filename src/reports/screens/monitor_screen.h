#pragma once

#include "reports/report_link.h"
#include "reports/sales_monitor.h"

#include "session/screens/secondary_screen.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTimer;

namespace vendura {

class ProgramEnd;
struct Session;

// "Monitor On Line": what was sold of each number of a lottery on a day, the whole network's
// ("General Por Vendedor") or this sales point's ("Detallar Por Vendedor"), refreshed every few
// seconds, with one number's total on request.
class MonitorScreen : public SecondaryScreen {
    Q_OBJECT
  public:
    MonitorScreen(ServerLink& link, ProgramEnd& programEnd, QWidget* parent = nullptr);

    // The fresh connection (the program ends when it cannot be opened: false), the server's
    // date and the lotteries.
    bool load();
    // "Actualizar Ya", Enter in the number field, and the refresh timer.
    void listing();
    sales_monitor::Kind kind() const;
    int secondsLeft() const { return remaining_; }

  protected:
    QWidget* firstField() const override;

  private:
    QLineEdit* numberField(const char* name, const QString& initial);
    void keepValid(QLineEdit* field, QString& previous, int most);
    void stopTimers();
    void tick();

    ReportLink link_;
    ProgramEnd& programEnd_;
    // the last good column count and refresh period: a bad value typed is put back to these
    QString columns_ = u"5"_s;
    QString seconds_ = u"30"_s;
    QComboBox* combo1_;
    QComboBox* combo2_;
    QDateEdit* dtPicker1_;
    QRadioButton* option1_;
    QRadioButton* option2_;
    QLineEdit* text1_;
    QLineEdit* text2_;
    QLineEdit* text3_;
    QListWidget* list1_;
    QLabel* total_;
    QLabel* countdown_;
    QTimer* timer1_;
    QTimer* timer2_;
    int remaining_ = 0;
};

}  // namespace vendura
