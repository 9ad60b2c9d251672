#pragma once

#include <QChar>

class QKeyEvent;
class QLineEdit;
class QListWidget;

namespace vendura {

bool isEnter(const QKeyEvent* key);
// The one character a key typed, or a null character.
QChar typedChar(const QKeyEvent* key);

// Focus into an entry field with its whole text selected, so that what is typed replaces it.
// Done here rather than left to the focus-in event, which a kiosk without a window manager
// may never send.
void enterField(QLineEdit* field);
// A digit typed in a list starts the number: the field takes the focus with that digit as its
// text and the caret behind it.
void startNumber(QLineEdit* field, QChar digit);

// Space in a multi-select list: toggles the entry under the cursor, then moves the cursor to
// the next entry unless it is on the last one.
void toggleAndAdvance(QListWidget* list);
// Selected entries become unselected and the others selected.
void invertSelection(QListWidget* list);

}  // namespace vendura
