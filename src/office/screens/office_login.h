#pragma once
// The desk's login: the server, and the person's own office login and password.
#include "office/admin_link.h"

#include <QDialog>

#include <functional>
#include <memory>

class QLineEdit;

namespace vendura {
class Dialogs;
}

namespace vendura::office {

using AdminConnector =
    std::function<Result<std::unique_ptr<AdminLink>>(const ConnectionOptions& options)>;

class OfficeLogin final : public QDialog {
    Q_OBJECT
  public:
    OfficeLogin(AdminConnector connector, Dialogs& dialogs, const ConnectionOptions& defaults,
                QWidget* parent = nullptr);

    // The link once the login was accepted.
    std::unique_ptr<AdminLink> takeLink() { return std::move(link_); }
    QString login() const;

    void accept() override;

  private:
    AdminConnector connect_;
    Dialogs& dialogs_;
    QLineEdit* server_;
    QLineEdit* port_;
    QLineEdit* database_;
    QLineEdit* user_;
    QLineEdit* password_;
    std::unique_ptr<AdminLink> link_;
};

}  // namespace vendura::office
