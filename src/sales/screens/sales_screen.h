#pragma once

#include "sales/removal.h"
#include "sales/sales_state.h"
#include "sales/screens/sales_actions.h"
#include "sales/ticket_model.h"

#include <QMainWindow>
#include <QPointer>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class QTimer;

namespace vendura {

class Clock;
class Dialogs;
class FocusColours;
class Launcher;
class MessageWindow;
class Printers;
class ProgramEnd;
class RandomSource;
class ServerLink;
class SpecialPlayPanel;
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

// Form1: the point-of-sale screen, where the ticket is built play by play and issued. The
// special-play panel, the removals and the message window have rooms of their own; the key
// tables live in sales/command_map.
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
    Dialogs& dialogs();
    QListWidget* loterias() const { return lLoterias_; }
    QTableView* ticketView() const { return lTicket_; }
    // The selected entries of L_Loterias, in list order.
    QStringList selectedLotteryEntries() const;
    // What the special-play panel has selected (its lotteries, variants and special code), as
    // the special generators read it.
    SpecialSelection specialSelection() const;
    bool isSpecialMode() const { return state_.modoEspecial; }
    bool isClosed() const { return closed_; }

    // After a play call: the rows go to the ticket, the boxes are shown, closed lotteries
    // leave the lists and the total is recomputed.
    void applySale(const SaleOutcome& outcome);
    void recomputeTotal();
    void enviarfoco();
    // Focus to the number field of the mode in force, its text selected.
    void focusNumber();
    void invertLotterySelection();
    void toggleAmountUnit();

    // After plays were taken off: the number field is cleared, the total shown again ("0" when
    // the whole ticket went) and the working mode's keys in the status bar.
    // A refusal of the server is told; a released ticket starts over.
    void afterRemoval(const RemovalOutcome& outcome, bool wholeTicket = false);
    // The status bar's panels again, after the working mode changed.
    void refreshStatus() { updateTicketPanel(); }

    // A command as its key or button runs it, once any permission has been granted.
    void run(SalesCommand command);
    // Esc in working mode "0", "D" and XPButton18 in any mode: close the ticket and print it.
    void imprimeTicket();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Keys no field took (none has the focus, or a closed sales point disabled them all) reach
    // the window, where the same key map acts with the same guards.
    void keyPressEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab take the field they reach whole, in a window that lost its activation
    // too, where a line edit selects nothing itself.
    bool focusNextPrevChild(bool next) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void startOverReleasedTicket();
    void emptyTicket();
    void buildControls();
    QWidget* buildButtons();
    void readTables();
    QStringList openLotteryEntries();
    void showAmountUnit();
    void setClosedState(bool closed);
    void updateTicketPanel();
    void dropClosedLotteries(const QString& codes);
    bool functionKey(QKeyEvent* key);
    bool characterKey(QObject* watched, QKeyEvent* key);
    bool lotteryListKey(QKeyEvent* key);
    bool numberKey(QKeyEvent* key);
    bool amountKey(QKeyEvent* key);
    bool ticketListKey(QKeyEvent* key);
    void sellStraightPlay();
    void runGuarded(SalesCommand command, const QString& buttonName);
    void openHelp();
    void enterSpecialMode();
    void leaveSpecialMode();
    void timerTick();
    void readMessages(bool onDemand);
    void showMessageLines(const QStringList& lines);

    SalesScreenDeps deps_;
    SalesState state_;
    TicketModel model_;
    bool closed_ = false;
    QString typedAmount_;
    QStringList pendingMessages_;  // found at load, shown with the screen

    QTableView* lTicket_ = nullptr;
    QLabel* totTicket_ = nullptr;
    QLabel* numUltick_ = nullptr;
    QLabel* montoUltick_ = nullptr;
    QListWidget* lLoterias_ = nullptr;
    QWidget* entryRow_ = nullptr;
    QLineEdit* numeroJugar_ = nullptr;
    QLineEdit* montoJugada_ = nullptr;
    SpecialPlayPanel* special_ = nullptr;
    QLabel* label8_ = nullptr;
    QLabel* image1_ = nullptr;
    QLabel* cerradopv_ = nullptr;
    QLabel* panelUser_ = nullptr;
    QLabel* panelTicket_ = nullptr;
    QLabel* panelKeys_ = nullptr;
    QTimer* timer1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QMap<QString, QPushButton*> buttons_;
    FocusColours* colours_ = nullptr;
    QPointer<MessageWindow> messages_;
};

}  // namespace vendura
