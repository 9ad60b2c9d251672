#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vendura {

class Dialogs;
class FocusColours;
class ServerLink;
struct Session;

// What the after-sale screens share: opened modally over the sales screen, they activate
// their own window when shown (a kiosk has no window manager to do it), close with Esc, give
// their entry fields the focus colours, and never let Enter press a button by itself.
class AfterSaleScreen : public QDialog {
    Q_OBJECT
  public:
    AfterSaleScreen(ServerLink& link, const QString& name, const QString& caption, QWidget* parent);

  protected:
    void showEvent(QShowEvent* event) override;
    // Puts the focus in a field with its text selected, as entering it by hand does.
    static void enter(QLineEdit* field);
    QPushButton* button(const char* name, const QString& caption);
    void watch(QWidget* field, bool selectAllOnEntry = true);

    ServerLink& link() { return link_; }
    Session& session();
    Dialogs& dialogs();

  private:
    ServerLink& link_;
    FocusColours* colours_;
};

}  // namespace vendura
