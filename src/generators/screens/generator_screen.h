#pragma once

#include "generators/generated_sale.h"
#include "generators/generator_calls.h"
#include "session/screens/secondary_screen.h"

#include <QMap>

#include <optional>

class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;

namespace vendura {

class SalesScreen;
struct SaleOutcome;

// What a generator sells on: the lotteries selected on the sales screen and, for a special
// generator, the special's selected variants and codes.
struct SaleTarget {
    QStringList lotteries;
    std::vector<SaleVariant> variants;
    std::optional<SpecialCodes> special;

    QString codes() const;
    QString tipo() const { return special ? u"2"_s : u"1"_s; }
};

// The base of the play generators' screens, opened modally over the sales screen: a form of
// captions and fields, the amount field (digits and one ".", Enter sells), digit fields whose
// Enter moves on, the wait text and progress indicator shown while the server works, the unit
// conversion of the amount, the call through sellPlay and the rows it adds to the sales
// screen's ticket. Esc closes the screen, which leaves the ticket's last row in view.
class GeneratorScreen : public SecondaryScreen {
    Q_OBJECT
  public:
    GeneratorScreen(SalesScreen& sales, const char* name, const QString& title);

    // Enter in the amount field.
    virtual void sell() = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    QWidget* firstField() const override { return first_; }

    // The next line of the form: a caption and its field.
    QLineEdit* addField(const char* labelName, const QString& caption, const char* fieldName,
                        int maxLength);
    void addRow(QWidget* caption, QWidget* field);
    // The amount field, whose Enter sells. Digits and one "." unless digitsOnly.
    QLineEdit* addAmount(const char* labelName, const QString& caption,
                         const char* fieldName = "Text2", bool digitsOnly = false);
    // A field of digits: Enter moves on to next once it holds minChars characters.
    void digitField(QLineEdit* field, int minChars, QWidget* next);
    // Label3 and ProgressBar1, shown while the server generates.
    void addWaitText(const QString& text);
    void setFirstField(QWidget* field) { first_ = field; }
    // A key typed in the amount field, Enter included, before it is handled.
    virtual void amountKey() {}

    SalesScreen& sales() { return sales_; }
    QGridLayout* form() { return form_; }
    QLineEdit* amountField() const { return amount_; }
    GeneratorCaller caller() const;

    // The amount typed, kept to be put back after the sale, as the server receives it: nothing
    // (and no word) for an empty or zero amount; a refused amount is said in a box.
    std::optional<Money> positiveAmount();
    // The same where "0" (or nothing) is sent as it is: "0", or the amount in Bs.F.
    std::optional<QString> amountOrZero();
    // The lotteries selected on the sales screen's straight-play list, or, for a special
    // generator, on its special-play panel together with the variants; nothing (after the
    // box) when a special has no lottery or no variant selected, or too many lotteries.
    std::optional<SaleTarget> target(bool special);

    // Sends a call whose items the screen formed, with the wait text up; nothing when the
    // ticket cannot take that many items or the call failed.
    std::optional<SaleOutcome> send(const ProcedureCall& call,
                                    const std::vector<PlannedItem>& items, const QString& tipo);
    // A sale of generated numbers: the call, the rows, the grouping of the rows in working
    // mode "0" when grouped, the boxes and the total; the typed amount back.
    void sellItems(const ProcedureCall& call, const std::vector<PlannedItem>& items,
                   const SaleTarget& target, bool grouped = false, Money asked = {});
    // A repeat or a reload: the server copies the plays and its answer gives the rows; the
    // time it took goes to a panel of the sales screen's status bar. False when the call failed.
    bool sellCopies(const ProcedureCall& call);
    // The rows of a sale go to the sales screen; the amount typed comes back.
    void finish(const SaleOutcome& outcome);
    void showWait(bool on);

  private:
    SalesScreen& sales_;
    QGridLayout* form_ = nullptr;
    QLineEdit* amount_ = nullptr;
    bool digitsOnlyAmount_ = false;
    QWidget* first_ = nullptr;
    QLabel* wait_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QString typedAmount_;
    struct Next {
        int minChars;
        QWidget* next;
    };
    QMap<QObject*, Next> digitFields_;
};

}  // namespace vendura
