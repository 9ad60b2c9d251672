#include "session/screens/secondary_screen.h"

#include "session/screens/focus_colours.h"
#include "session/session.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace vendura {

SecondaryScreen::SecondaryScreen(QWidget* over, const QString& name, const QString& title)
    : QDialog(over) {
    if (!name.isEmpty()) setObjectName(name);
    if (!title.isEmpty()) setWindowTitle(title);
    setModal(true);
}

void SecondaryScreen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activateWindow();
    raise();
    focusField(firstField());
}

void SecondaryScreen::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    QWidget* below = parentWidget() ? parentWidget()->window() : nullptr;
    if (below && below->isVisible()) below->activateWindow();
}

bool SecondaryScreen::focusNextPrevChild(bool next) {
    const bool moved = QDialog::focusNextPrevChild(next);
    if (moved) selectWholeText(focusWidget());
    return moved;
}

void SecondaryScreen::focusField(QWidget* field) {
    if (!field) return;
    field->setFocus(Qt::OtherFocusReason);
    selectWholeText(field);
}

void SecondaryScreen::useColoursOf(const Session& session) {
    if (!colours_) colours_ = new FocusColours(session.ColorFoco, session.ColorNormal, this);
}

void SecondaryScreen::watch(QWidget* field, bool selectAllOnEntry) {
    Q_ASSERT(colours_);
    colours_->watch(field, selectAllOnEntry);
}

QPushButton* SecondaryScreen::button(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

}  // namespace vendura
