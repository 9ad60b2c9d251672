#include "session/screens/counter_dialog.h"

#include "session/screens/focus_colours.h"
#include "session/session.h"

#include <QComboBox>
#include <QLineEdit>

namespace vendura {

CounterDialog::CounterDialog(const Session& session, QWidget* parent)
    : QDialog(parent), colours_(new FocusColours(session.ColorFoco, session.ColorNormal, this)) {
    setModal(true);
}

void CounterDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activateWindow();
    raise();
    if (QWidget* first = firstField()) focusField(first);
}

void CounterDialog::focusField(QWidget* field) {
    field->setFocus(Qt::OtherFocusReason);
    auto* edit = qobject_cast<QLineEdit*>(field);
    if (auto* combo = qobject_cast<QComboBox*>(field)) edit = combo->lineEdit();
    if (edit) edit->selectAll();
}

}  // namespace vendura
