#include "session/screens/modal_screen.h"

#include <QLineEdit>

namespace vendura {

ModalScreen::ModalScreen(const char* name, const QString& title, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(title);
    setModal(true);
}

void ModalScreen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activateWindow();
    raise();
    focusField(firstField());
}

void ModalScreen::focusField(QWidget* field) {
    if (!field) return;
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
}

}  // namespace vendura
