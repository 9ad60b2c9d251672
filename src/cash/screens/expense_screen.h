#pragma once

#include <QDialog>

class QPushButton;

namespace vendura {

class Dialogs;
class FocusColours;
class ServerLink;
struct Session;

// What the two expense screens share: modal, their own window activated when shown, Esc to
// close, the focus colours on their fields, buttons that Enter never presses by itself.
class ExpenseScreen : public QDialog {
    Q_OBJECT
  public:
    ExpenseScreen(ServerLink& link, const char* name, const QString& caption, QWidget* parent);

  protected:
    void showEvent(QShowEvent* event) override;
    QPushButton* button(const char* name, const QString& caption);
    void watch(QWidget* field);

    ServerLink& link() { return link_; }
    Session& session();
    Dialogs& dialogs();

  private:
    ServerLink& link_;
    FocusColours* colours_;
};

}  // namespace vendura
