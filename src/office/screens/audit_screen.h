#pragma once
// The audit trail at the desk: searched by days, sales point, seller and action, and written to a
// CSV file.
#include "office/admin_link.h"

#include <QDate>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTableWidget;

namespace vendura {
class Dialogs;
}

namespace vendura::office {

class AuditScreen final : public QWidget {
    Q_OBJECT
  public:
    AuditScreen(AdminLink& link, Dialogs& dialogs, const QDate& today, const QString& folder,
                QWidget* parent = nullptr);

    void search();
    // Writes what the search found to the file named in the screen.
    void exportCsv();

  private:
    AdminLink& link_;
    Dialogs& dialogs_;
    QLineEdit* from_;
    QLineEdit* to_;
    QLineEdit* vendor_;
    QLineEdit* user_;
    QLineEdit* action_;
    QLineEdit* file_;
    QLabel* found_;
    QTableWidget* rows_;
    RecordSet last_;
};

}  // namespace vendura::office
