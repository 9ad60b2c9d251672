#pragma once

#include "session/configuration.h"
#include "session/login.h"

#include <QMainWindow>

#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vendura {

class HttpDownload;
class Launcher;
class ProgramEnd;
class ServerLink;
class ServerListRefresh;

// The first screen: user code, password, server and database, and the login.
class StartupScreen : public QMainWindow {
    Q_OBJECT
  public:
    // openSales: loads and shows the sales screen once the login succeeded.
    StartupScreen(ServerLink& link, Launcher& launcher, ProgramEnd& programEnd, HttpDownload& http,
                  std::function<void()> openSales, QWidget* parent = nullptr);
    ~StartupScreen() override;

    void iniciar();
    int failedLogins() const { return login_.failedLogins(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void loadConfiguration();
    void setConnectionFieldsVisible(bool visible);
    void setConnectionFieldsEditable(bool editable);
    void confirmShutdown(int mode);
    void searchServers();

    ServerLink& link_;
    Launcher& launcher_;
    ProgramEnd& programEnd_;
    Login login_;
    std::unique_ptr<ServerListRefresh> refresh_;
    std::function<void()> openSales_;
    StartupFields fields_;
    bool editable_ = false;

    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QComboBox* text3_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* label4_ = nullptr;
    QFrame* frame1_ = nullptr;
    QLabel* label7_ = nullptr;
    QPushButton* buscaIp_ = nullptr;
};

}  // namespace vendura
