#pragma once
// A key a screen answers from any of its widgets, before the widget takes it for itself (Supr on
// a list, Ctrl+E in a field), with or without a window manager.
#include <QKeyCombination>
#include <QObject>

#include <functional>
#include <initializer_list>

class QWidget;

namespace vendura::office {

class KeyHook final : public QObject {
    Q_OBJECT
  public:
    // Lives as long as `owner`; watches each of `widgets`.
    KeyHook(QObject* owner, QKeyCombination key, std::initializer_list<QWidget*> widgets,
            std::function<void()> action);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QKeyCombination key_;
    std::function<void()> action_;
};

}  // namespace vendura::office
