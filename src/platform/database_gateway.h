#pragma once

#include "platform/record_set.h"
#include "platform/result.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace vendura {

enum class ParamType { Integer, VarChar, Char, Date, Currency, Decimal, Double };
enum class ParamDirection { Input, Output, InputOutput };

// One parameter of a stored procedure, named as the counter program names it ("@xusuario").
struct Parameter {
    QString name;
    ParamType type = ParamType::VarChar;
    ParamDirection direction = ParamDirection::Input;
    int size = 0;  // characters of a text parameter; 0 = no limit
    FieldValue value;
};

struct ProcedureCall {
    QString name;
    std::vector<Parameter> parameters;
    int timeoutSeconds = 86400;

    ProcedureCall& in(const QString& param, const QString& value, int size = 0) {
        parameters.push_back({param, ParamType::VarChar, ParamDirection::Input, size, value});
        return *this;
    }
    ProcedureCall& out(const QString& param, const FieldValue& initial = std::nullopt,
                       int size = 0) {
        parameters.push_back(
            {param, ParamType::VarChar, ParamDirection::InputOutput, size, initial});
        return *this;
    }
    ProcedureCall& decimal(const QString& param, const QString& value) {
        parameters.push_back({param, ParamType::Decimal, ParamDirection::Input, 0, value});
        return *this;
    }
};

// What a procedure answered: "@RETURN_VALUE", the output parameters by the caller's names,
// and the rows of its result set.
struct CallAnswer {
    FieldValue returnValue;
    QMap<QString, FieldValue> outputs;
    RecordSet rows;

    // The return value as the program compares it: trimmed text, "" when null.
    QString returnText() const { return returnValue.value_or(QString()).trimmed(); }
    int returnNumber() const { return returnText().toInt(); }
    QString output(const QString& name) const { return outputs.value(name).value_or(QString()); }
};

// The link to the central database: one connection, procedures called synchronously.
class DatabaseGateway {
  public:
    virtual ~DatabaseGateway() = default;
    // Opens the connection described by a connection text
    // ("...;Data Source=host,port;Initial Catalog=db;User id=...;Password=...").
    virtual Result<void> open(const QString& connectionText) = 0;
    virtual void close() = 0;
    // True while the connection is open and has not been found broken.
    virtual bool isOpen() const = 0;
    // The text the connection was last opened with.
    virtual QString connectionText() const = 0;
    virtual Result<CallAnswer> call(const ProcedureCall& call) = 0;
    // A text command "exec name 'a', 'b'" or "name 'a', 'b'": the procedure is called with the
    // quoted values bound as its parameters in order, never spliced into SQL.
    virtual Result<CallAnswer> exec(const QString& text) = 0;
    // The same with the arguments given apart.
    virtual Result<CallAnswer> callPositional(const QString& procedure,
                                              const QStringList& args) = 0;
};

// Makes new, unopened connections: the one of the session, and the fresh ones of the
// screens that open their own.
class DatabaseConnector {
  public:
    virtual ~DatabaseConnector() = default;
    virtual std::unique_ptr<DatabaseGateway> create() = 0;
};

// Error numbers the program gives meaning to.
namespace db_error {
constexpr int kIgnored = 5;
constexpr int kObjectClosed = 3704;
constexpr int kConnectionUnusable = 3709;
constexpr int kConnectionLost = -2147467259;
constexpr int kServerError = -2147217900;
}  // namespace db_error

}  // namespace vendura
