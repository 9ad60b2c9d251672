#include "aftersale/screens/aftersale_screen.h"

#include "session/screens/focus_colours.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QLineEdit>
#include <QPushButton>

namespace vendura {

AfterSaleScreen::AfterSaleScreen(ServerLink& link, const QString& name, const QString& caption,
                                 QWidget* parent)
    : QDialog(parent),
      link_(link),
      colours_(new FocusColours(link.session().ColorFoco, link.session().ColorNormal, this)) {
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);
}

void AfterSaleScreen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activateWindow();
    raise();
}

void AfterSaleScreen::enter(QLineEdit* field) {
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

QPushButton* AfterSaleScreen::button(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

void AfterSaleScreen::watch(QWidget* field, bool selectAllOnEntry) {
    colours_->watch(field, selectAllOnEntry);
}

Session& AfterSaleScreen::session() {
    return link_.session();
}

Dialogs& AfterSaleScreen::dialogs() {
    return link_.dialogs();
}

}  // namespace vendura
