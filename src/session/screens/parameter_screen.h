#pragma once

#include "session/parameters.h"
#include "session/screens/secondary_screen.h"

#include <QMap>

class QComboBox;
class QLineEdit;

namespace vendura {

class ServerLink;

// maestroparametro: the terminal's printing, communication and off-line parameters as the
// central database holds them, changed and saved by the seller.
class ParameterScreen : public SecondaryScreen {
    Q_OBJECT
  public:
    ParameterScreen(ServerLink& link, QWidget* parent = nullptr);

    // Reads the parameters with "ver_usuario"; false (after the common message) when the
    // server did not give them, and the screen is not to be shown.
    bool load();
    // "&Grabar".
    void grabar();

    TerminalParameters fields() const;

  protected:
    QWidget* firstField() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void fill(const TerminalParameters& p);

    ServerLink& link_;
    QMap<QString, QLineEdit*> texts_;
    QMap<QString, QComboBox*> combos_;
};

}  // namespace vendura
