#include "session/screens/secondary_screen.h"

#include <QShowEvent>

namespace vendura {

SecondaryScreen::SecondaryScreen(QWidget* over) : QDialog(over) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
}

void SecondaryScreen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activateWindow();
    raise();
}

void SecondaryScreen::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (QWidget* below = parentWidget() ? parentWidget()->window() : nullptr) {
        below->activateWindow();
    }
}

}  // namespace vendura
