#include "cash/screens/expense_screen.h"

#include "session/screens/focus_colours.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QPushButton>

namespace vendura {

ExpenseScreen::ExpenseScreen(ServerLink& link, const char* name, const QString& caption,
                             QWidget* parent)
    : QDialog(parent),
      link_(link),
      colours_(new FocusColours(link.session().ColorFoco, link.session().ColorNormal, this)) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setModal(true);
}

void ExpenseScreen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activateWindow();
    raise();
}

QPushButton* ExpenseScreen::button(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

void ExpenseScreen::watch(QWidget* field) {
    colours_->watch(field, true);
}

Session& ExpenseScreen::session() {
    return link_.session();
}

Dialogs& ExpenseScreen::dialogs() {
    return link_.dialogs();
}

}  // namespace vendura
