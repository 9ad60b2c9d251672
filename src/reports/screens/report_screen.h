#pragma once

#include "reports/report_link.h"

#include <QDate>
#include "session/screens/secondary_screen.h"

#include <optional>

class QComboBox;
class QDateEdit;
class QHBoxLayout;
class QListWidget;
class QProgressBar;

namespace vendura {

class Dialogs;
class Printers;
class ProgramEnd;
struct Session;

// What a report screen works with besides the session's server link.
struct ReportDeps {
    ServerLink& link;
    Printers& printers;
    ProgramEnd& programEnd;
    QString pdfFolder;  // where "PDF" saves a report
};

// The frame every report shares: one or two date choosers (`esdesde`, and the end of a period),
// the report's lines in `List1`, compose (`Command1`), close (`Command2`), print (`Command3`)
// and save as PDF (`Command4`). It opens a connection of its own; a change of date or of an
// option composes the report again at once; Esc closes.
class ReportScreen : public SecondaryScreen {
    Q_OBJECT
  public:
    // toName: the object name of the period's end chooser, or null for a one-day report.
    ReportScreen(ReportDeps deps, const char* name, const QString& caption, const char* toName,
                 QWidget* parent);
    ~ReportScreen() override;

    // The fresh connection (the program ends when it cannot be opened: false), the server's
    // date in the choosers, and the first composition.
    bool load();
    void compose();
    bool print();
    // Saves the lines as they print into a PDF file of the PDF folder; its path, or empty.
    QString saveAsPdf();
    QStringList lines() const;

  protected:
    // The report's lines for the chosen days; nullopt when a call failed (already told).
    virtual std::optional<QStringList> build(ReportLink& link) = 0;
    // A chooser of the report's options, on the top row; choosing composes again.
    void addOption(const QString& label, QComboBox* combo);
    QWidget* firstField() const override;

    QDate from() const;
    QDate to() const;
    Session& session();
    Dialogs& dialogs();

  private:
    QDateEdit* dateChooser(const char* name);
    void step(int value);

    ReportDeps deps_;
    ReportLink link_;
    QDateEdit* esdesde_;
    QDateEdit* hasta_ = nullptr;
    QHBoxLayout* top_;
    QListWidget* list1_;
    QProgressBar* progress_;
    bool opened_ = false;
};

}  // namespace vendura
