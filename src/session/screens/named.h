#pragma once

#include <QString>

namespace vendura {

// Gives a control the name the screens have always known it by.
template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace vendura
