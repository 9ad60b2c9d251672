#pragma once

#include "session/screens/secondary_screen.h"

#include <QStringList>

class QListWidget;

namespace vendura {

// Form21, "Kalv Mensajes": the messages of the central office, one line of text per entry.
class MessageWindow : public SecondaryScreen {
    Q_OBJECT
  public:
    explicit MessageWindow(QWidget* over);
    void addLines(const QStringList& lines);
    QStringList lines() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QListWidget* list1_ = nullptr;
};

}  // namespace vendura
