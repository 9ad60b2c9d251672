#pragma once

#include "recorders.h"

#include <QLineEdit>
#include <QTest>

namespace vendura::test {

// Every box shown so far as "icon|title|text".
inline QStringList boxes(const DialogRecorder& dialogs) {
    const char* icons[] = {"None", "Information", "Critical", "Exclamation", "Question"};
    QStringList out;
    for (const auto& b : dialogs.shown) {
        out << QString::fromLatin1(icons[int(b.icon)]) + u'|' + b.title + u'|' + b.text;
    }
    return out;
}

// Empties a field the way a seller does and types the keys into it.
inline void retype(QLineEdit* field, const QString& keys) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, keys);
}

}  // namespace vendura::test
