#include "office/screens/key_hook.h"

#include <QKeyEvent>
#include <QWidget>

namespace vendura::office {

KeyHook::KeyHook(QObject* owner, QKeyCombination key, std::initializer_list<QWidget*> widgets,
                 std::function<void()> action)
    : QObject(owner), key_(key), action_(std::move(action)) {
    for (QWidget* w : widgets) w->installEventFilter(this);
}

bool KeyHook::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->keyCombination() == key_) {
        action_();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vendura::office
