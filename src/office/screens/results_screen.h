#pragma once
// Entering a draw's numbers at the desk: the first person's entry waits for a second person's,
// and the entries waiting are listed, to be confirmed by another login or discarded.
#include "office/admin_link.h"

#include <QDate>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace vendura {
class Dialogs;
}

namespace vendura::office {

class ResultsScreen final : public QWidget {
    Q_OBJECT
  public:
    ResultsScreen(AdminLink& link, Dialogs& dialogs, const QDate& today, QWidget* parent = nullptr);

    // Reads the entries waiting again.
    void refresh();

  private:
    void enter();
    void discardSelected();

    AdminLink& link_;
    Dialogs& dialogs_;
    QLineEdit* lottery_;
    QLineEdit* day_;
    QLineEdit* triple_;
    QLineEdit* segundo_;
    QLineEdit* tercero_;
    QLineEdit* especial_;
    QCheckBox* correction_;
    QLabel* outcome_;
    QTableWidget* pending_;
};

}  // namespace vendura::office
