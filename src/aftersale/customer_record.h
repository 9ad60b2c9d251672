#pragma once

#include "platform/result.h"

#include <QString>

#include <optional>

namespace vendura {

class ServerLink;

// The customer who collects a prize: the four fields of the "Información Fiscal" panel.
struct Customer {
    QString cedula;
    QString nombre;
    QString direccion;
    QString telefonos;
};

// The procedure Cliente: look a customer up by identity number, or save one.
class CustomerRecord {
  public:
    explicit CustomerRecord(ServerLink& link) : link_(link) {}

    // The customer found (name, address and telephones from the server), nullopt when the
    // server does not know the identity number; an error when the call failed (the common
    // handler has spoken).
    Result<std::optional<Customer>> lookUp(const Customer& typed);
    // True when the server saved the customer; an error when the call failed.
    Result<bool> save(const Customer& customer);

  private:
    ServerLink& link_;
};

}  // namespace vendura
