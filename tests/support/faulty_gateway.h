#pragma once

#include "platform/pq_gateway.h"

#include <QHash>

#include <memory>

namespace vendura::test {

// The fault seam of the link to the central database: the real gateway underneath, and the
// answers of the procedures named in `lost` (each once, upper or lower case alike) thrown away
// after the server committed the call, the connection gone with them, as when a cable is cut
// between the server's commit and the counter.
struct Faults {
    QHash<QString, int> lost;  // procedure: calls to let through before one is lost
    int dropped = 0;
    bool take(const QString& procedure) {
        const auto it = lost.find(procedure.toLower());
        if (it == lost.end()) return false;
        if (it.value() > 0) {
            --it.value();
            return false;
        }
        lost.erase(it);
        ++dropped;
        return true;
    }
};

class FaultyGateway final : public DatabaseGateway {
  public:
    FaultyGateway(std::unique_ptr<DatabaseGateway> real, Faults& faults)
        : real_(std::move(real)), faults_(faults) {}
    Result<void> open(const QString& text) override { return real_->open(text); }
    void close() override { real_->close(); }
    bool isOpen() const override { return real_->isOpen(); }
    QString connectionText() const override { return real_->connectionText(); }
    Result<CallAnswer> call(const ProcedureCall& c) override { return cut(c.name, real_->call(c)); }
    Result<CallAnswer> exec(const QString& text) override {
        return cut(text.section(u' ', 0, 0), real_->exec(text));
    }
    Result<CallAnswer> callPositional(const QString& procedure, const QStringList& args) override {
        return cut(procedure, real_->callPositional(procedure, args));
    }

  private:
    Result<CallAnswer> cut(const QString& procedure, Result<CallAnswer> answer) {
        if (!faults_.take(procedure.toLower())) return answer;
        real_->close();
        return Error{db_error::kConnectionLost, u"Se perdió la conexión con el servidor"_s};
    }

    std::unique_ptr<DatabaseGateway> real_;
    Faults& faults_;
};

class FaultyConnector final : public DatabaseConnector {
  public:
    explicit FaultyConnector(int timeoutSeconds) : real_(timeoutSeconds) {}
    std::unique_ptr<DatabaseGateway> create() override {
        return std::make_unique<FaultyGateway>(real_.create(), faults);
    }
    // The next answer of each procedure named is lost after its commit; with `after`, the
    // answer of the call that many calls later.
    void loseAnswerOf(std::initializer_list<QString> procedures, int after = 0) {
        for (const QString& p : procedures) faults.lost.insert(p.toLower(), after);
    }

    Faults faults;

  private:
    PqConnector real_;
};

}  // namespace vendura::test
