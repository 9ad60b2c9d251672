#pragma once
// A desk screen of one family of the office's actions: what they act on listed on the left
// (read again when the screen shows and after each action), their form on the right. Choosing a
// row writes its values into the form; Enter and Supr on a row are the screen's own.
#include "office/office_action.h"

#include <QWidget>

class QLabel;
class QTableWidget;
class QVBoxLayout;

namespace vendura {
class Dialogs;
}

namespace vendura::office {

class ActionForm;

class ActionScreen : public QWidget {
    Q_OBJECT
  public:
    // Reads the list again.
    void refresh();
    ActionForm* form() const { return form_; }
    QTableWidget* list() const { return list_; }

  protected:
    ActionScreen(AdminLink& link, Dialogs& dialogs, const QString& title,
                 const QStringList& headers, std::vector<OfficeAction> actions,
                 const QString& keysHelp, QWidget* parent);

    // The list's rows, each as many texts as headers.
    virtual Result<std::vector<QStringList>> rows() = 0;
    // A row chosen: the values it gives the form.
    virtual void rowChosen(const QStringList& row) = 0;
    // Enter (or Supr, `remove`) on a row.
    virtual void rowKey(const QStringList& row, bool remove) = 0;

    void showEvent(QShowEvent* event) override;
    // Where a screen adds what it shows beside its form.
    QVBoxLayout* side() const { return side_; }

    AdminLink& link_;
    Dialogs& dialogs_;
    QString title_;

  private:
    QStringList row(int index) const;

    QLabel* summary_;
    QTableWidget* list_;
    ActionForm* form_;
    QVBoxLayout* side_;
};

}  // namespace vendura::office
