#pragma once

#include "session/screens/secondary_screen.h"

#include <array>

class QLineEdit;

namespace vendura {

class ServerLink;

// "Autenticación de Auditoria": the day's audit key of the seller, typed in five groups of four
// (each group moves on to the next when full). Accepted when the server knows the key; after
// three wrong keys "3 intentos fallidos, pruebe mas tarde!" and the screen closes.
class AuditAccessScreen : public SecondaryScreen {
    Q_OBJECT
  public:
    explicit AuditAccessScreen(ServerLink& link, QWidget* parent = nullptr);

    // Enter, or "Aceptar": checks the typed key.
    void aceptar();
    int failures() const { return failures_; }

  protected:
    QWidget* firstField() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void clearKey();

    ServerLink& link_;
    std::array<QLineEdit*, 5> groups_{};
    int failures_ = 0;
};

}  // namespace vendura
