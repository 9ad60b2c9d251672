#include "session/screens/focus_colours.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

namespace vendura {

void setBackground(QWidget* field, quint32 rgb) {
    QPalette p = field->palette();
    p.setColor(QPalette::Base, QColor::fromRgb(rgb));
    field->setPalette(p);
}

void selectWholeText(QWidget* field) {
    auto* edit = qobject_cast<QLineEdit*>(field);
    if (auto* combo = qobject_cast<QComboBox*>(field)) edit = combo->lineEdit();
    if (edit) edit->selectAll();
}

FocusColours::FocusColours(quint32 focusRgb, quint32 normalRgb, QObject* parent)
    : QObject(parent), focus_(focusRgb), normal_(normalRgb) {}

void FocusColours::watch(QWidget* field, bool selectAllOnEntry) {
    field->installEventFilter(this);
    field->setProperty("vendura_select_all", selectAllOnEntry);
    setBackground(field, normal_);
}

bool FocusColours::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QWidget*>(watched);
    if (!field) return false;
    if (event->type() == QEvent::FocusIn) {
        setBackground(field, focus_);
        if (field->property("vendura_select_all").toBool()) {
            // a mouse click places the caret after the focus arrives: select once it has
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) {
                QTimer::singleShot(0, field, [field] { selectWholeText(field); });
            } else {
                selectWholeText(field);
            }
        }
    } else if (event->type() == QEvent::FocusOut) {
        setBackground(field, normal_);
    }
    return false;
}

}  // namespace vendura
