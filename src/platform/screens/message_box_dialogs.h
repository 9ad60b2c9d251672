#pragma once

#include "platform/dialogs.h"

namespace vendura {

// Dialogs as QMessageBox, over the window that is active when they are shown.
class MessageBoxDialogs final : public Dialogs {
  public:
    void message(DialogIcon icon, const QString& title, const QString& text) override;
    bool question(DialogIcon icon, const QString& title, const QString& text,
                  bool defaultYes) override;
};

}  // namespace vendura
