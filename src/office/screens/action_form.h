#pragma once
// The form of the office's actions of one family: the action chosen from a list, a field for
// each value it takes, Enter moving from field to field and, on the last, asking and doing it.
#include "office/office_action.h"

#include <QWidget>

#include <vector>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace vendura {
class Dialogs;
}

namespace vendura::office {

class ActionForm final : public QWidget {
    Q_OBJECT
  public:
    ActionForm(AdminLink& link, Dialogs& dialogs, std::vector<OfficeAction> actions,
               QWidget* parent = nullptr);

    // Chooses the first action of this console command ("oficinista crear") or of this last word
    // of one ("confirmar"); false if none.
    bool choose(const QString& verb);
    // Writes a value in the chosen action's field of that caption, if it has one.
    void fill(const QString& label, const QString& value);
    // The focus to the first field still empty (the last one when all are written).
    void focusFirstEmpty();
    // Asks, then does the chosen action with what the fields hold.
    void run();

    QString outcome() const;

  signals:
    void done();

  private:
    void build(int index);

    AdminLink& link_;
    Dialogs& dialogs_;
    std::vector<OfficeAction> actions_;
    QComboBox* chosen_;
    QFormLayout* fields_;
    std::vector<QLineEdit*> edits_;
    QLabel* outcome_;
};

}  // namespace vendura::office
