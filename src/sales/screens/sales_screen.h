#pragma once

#include "sales/sales_state.h"
#include "sales/screens/sales_actions.h"
#include "sales/ticket_model.h"

#include <QMainWindow>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableView;
class QTimer;

namespace vendura {

class Clock;
class FocusColours;
class Launcher;
class Printers;
class ProgramEnd;
class RandomSource;
class ServerLink;
struct SaleOutcome;

// What the sales screen works with besides the session's server link.
struct SalesScreenDeps {
    ServerLink& link;
    Launcher& launcher;
    ProgramEnd& programEnd;
    RandomSource& random;
    Clock& clock;
    Printers& printers;
    const SalesActions& actions;
};

// Form1: the point-of-sale screen, where the ticket is built play by play and issued.
class SalesScreen : public QMainWindow {
    Q_OBJECT
  public:
    explicit SalesScreen(SalesScreenDeps deps, QWidget* parent = nullptr);
    ~SalesScreen() override;

    // Form_Initialize and Form_Load: messages, lotteries, special plays, the closed state.
    void load();
    // The first panel of the status bar (the login puts the user there).
    void setUserPanel(const QString& text);
    QString userPanel() const;

    SalesState& state() { return state_; }
    TicketModel& ticket() { return model_; }
    ServerLink& link() { return deps_.link; }
    QListWidget* loterias() const { return lLoterias_; }
    // The codes of the selected lotteries, in list order.
    QStringList selectedLotteryEntries() const;

    // After a play call: the rows go to the ticket, the boxes are shown, closed lotteries
    // leave the list and the total is recomputed.
    void applySale(const SaleOutcome& outcome);
    void recomputeTotal();
    void enviarfoco();
    void invertLotterySelection();
    void toggleAmountUnit();
    bool isClosed() const { return closed_; }

    // Esc: closes the ticket on the server and prints it.
    void imprimeTicket();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void buildButtons(QWidget* panel);
    void readTables();
    QStringList openLotteryEntries();
    void showAmountUnit();
    void setClosedState(bool closed);
    void updateTicketPanel();
    bool formKey(QKeyEvent* key);
    bool functionKey(QKeyEvent* key);
    bool lotteryListKey(QKeyEvent* key);
    bool numberKey(QKeyEvent* key);
    bool amountKey(QKeyEvent* key);
    void sellStraightPlay();
    void runGuarded(SalesCommand command, QPushButton* button);
    void run(SalesCommand command);
    void timerTick();
    void lookForMessages();
    void leaveSpecialMode();

    SalesScreenDeps deps_;
    SalesState state_;
    TicketModel model_;
    bool closed_ = false;
    QString typedAmount_;

    QTableView* lTicket_ = nullptr;
    QLabel* totTicket_ = nullptr;
    QLabel* numUltick_ = nullptr;
    QLabel* montoUltick_ = nullptr;
    QListWidget* lLoterias_ = nullptr;
    QLineEdit* numeroJugar_ = nullptr;
    QLineEdit* montoJugada_ = nullptr;
    QLineEdit* numero_ = nullptr;
    QLineEdit* monto_ = nullptr;
    QListWidget* list1_ = nullptr;
    QListWidget* list2_ = nullptr;
    QGroupBox* frame2_ = nullptr;
    QGroupBox* frame3_ = nullptr;
    QLabel* label8_ = nullptr;
    QLabel* image1_ = nullptr;
    QLabel* cerradopv_ = nullptr;
    QLabel* panelUser_ = nullptr;
    QLabel* panelTicket_ = nullptr;
    QTimer* timer1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QMap<QString, QPushButton*> buttons_;
    FocusColours* colours_ = nullptr;
};

}  // namespace vendura
