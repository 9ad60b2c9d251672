#include "sales/screens/entry_keys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>

namespace vendura {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

QChar typedChar(const QKeyEvent* key) {
    const QString text = key->text();
    return text.size() == 1 ? text[0] : QChar();
}

void enterField(QLineEdit* field) {
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

void startNumber(QLineEdit* field, QChar digit) {
    field->setFocus(Qt::OtherFocusReason);
    field->setText(digit);
    field->setCursorPosition(1);
}

void toggleAndAdvance(QListWidget* list) {
    const int row = list->currentRow();
    if (row >= 0) list->item(row)->setSelected(!list->item(row)->isSelected());
    if (row + 1 < list->count()) {
        list->selectionModel()->setCurrentIndex(list->model()->index(row + 1, 0),
                                                QItemSelectionModel::NoUpdate);
    }
}

void invertSelection(QListWidget* list) {
    for (int i = 0; i < list->count(); ++i) {
        list->item(i)->setSelected(!list->item(i)->isSelected());
    }
}

}  // namespace vendura
