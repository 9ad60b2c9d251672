#include "platform/exec_text.h"
#include "platform/pq_gateway.h"

#include <libpq-fe.h>

// A procedure call: its statement built from the call, then sent with its settings and the fetch
// of its records in one pipeline, and the answer read back.
namespace vendura {
namespace {

// the program has a few dozen kinds of call: past this many texts, statements go unnamed
constexpr int kMostPreparedStatements = 256;

QString resultMessage(const PGresult* r) {
    const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
    const QString message = QString::fromUtf8(PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY));
    return state ? QString::fromLatin1(state) + u": "_s + message : message;
}

// What the server answers for a statement parsed on this connection that no longer fits the
// server's procedures (one dropped and made again, or its records changed).
bool isStaleStatement(const Error& e) {
    const QString& d = e.description;
    return d.startsWith(u"26000:"_s) || d.startsWith(u"0A000: cached plan"_s) ||
           (d.startsWith(u"XX000:"_s) && d.contains(u"cache lookup failed"_s));
}

RecordSet toRecordSet(const PGresult* r) {
    QStringList fields;
    const int columns = PQnfields(r);
    for (int c = 0; c < columns; ++c) fields << QString::fromUtf8(PQfname(r, c));
    RecordSet rows(fields);
    const int count = PQntuples(r);
    for (int i = 0; i < count; ++i) {
        std::vector<FieldValue> row;
        row.reserve(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(r, i, c)) {
                row.emplace_back(std::nullopt);
            } else {
                row.emplace_back(QString::fromUtf8(PQgetvalue(r, i, c), PQgetlength(r, i, c)));
            }
        }
        rows.addRow(std::move(row));
    }
    return rows;
}

// A pooled call carries its session's token in its own statement: the return value's argument,
// which every call sends first as NULL and every procedure sets before it answers, becomes an
// expression that sets the token for the transaction and still comes to NULL. The arguments are
// evaluated before the procedure is entered, so it finds the token set; and the server parses
// and plans one statement less at every pooled call than with a statement of the token's own.
QByteArray carryingToken(const QByteArray& callSql, int tokenParameter) {
    const qsizetype slot = callSql.indexOf("NULL", callSql.indexOf('('));
    return callSql.left(slot) + "CASE WHEN set_config('vendura.sesion', $" +
           QByteArray::number(tokenParameter) + ", true) IS NULL THEN 0 END" +
           callSql.mid(slot + 4);
}

QByteArray parameterColumn(const QString& name) {
    QString n = name.startsWith(u'@') ? name.mid(1) : name;
    return n.toLower().toLatin1();
}

}  // namespace

Result<CallAnswer> PqGateway::call(const ProcedureCall& call) {
    if (!isPlainIdentifier(call.name)) {
        return Error{db_error::kServerError, u"Nombre de procedimiento inválido: "_s + call.name};
    }
    QByteArray sql = "CALL public." + call.name.toLower().toLatin1() + "(return_value => NULL";
    std::vector<FieldValue> params;
    std::vector<Output> outputs;
    for (const Parameter& p : call.parameters) {
        const QByteArray column = parameterColumn(p.name);
        if (!isPlainIdentifier(QString::fromLatin1(column))) {
            return Error{db_error::kServerError, u"Nombre de parámetro inválido: "_s + p.name};
        }
        FieldValue value = p.value;
        if (p.direction == ParamDirection::InputOutput && !value) value = u"0"_s;
        if (value && p.size > 0 && value->size() > p.size) value = value->left(p.size);
        params.push_back(value);
        sql += ", " + column + " => $" + QByteArray::number(params.size());
        if (p.direction != ParamDirection::Input) outputs.push_back({p.name, column});
    }
    params.emplace_back(QString::fromLatin1(kCursorName));
    sql += ", rs => $" + QByteArray::number(params.size()) + ")";
    return run(sql, params, call.timeoutSeconds, outputs);
}

Result<CallAnswer> PqGateway::exec(const QString& text) {
    auto parsed = parseExecText(text);
    if (!parsed) return parsed.error();
    return callExec(parsed.value().procedure, parsed.value().args);
}

Result<CallAnswer> PqGateway::callPositional(const QString& procedure, const QStringList& args) {
    std::vector<FieldValue> values(args.begin(), args.end());
    return callExec(procedure, values);
}

Result<CallAnswer> PqGateway::callExec(const QString& procedure,
                                       const std::vector<FieldValue>& args) {
    if (!isPlainIdentifier(procedure)) {
        return Error{db_error::kServerError, u"Nombre de procedimiento inválido: "_s + procedure};
    }
    QByteArray sql = "CALL public." + procedure.toLower().toLatin1() + "(NULL";
    std::vector<FieldValue> params = args;
    params.emplace_back(QString::fromLatin1(kCursorName));
    for (size_t i = 1; i <= params.size(); ++i) sql += ", $" + QByteArray::number(qsizetype(i));
    sql += ")";
    return run(sql, params, kDefaultTimeoutSeconds, {});
}

Result<CallAnswer> PqGateway::run(const QByteArray& callSql, const std::vector<FieldValue>& params,
                                  int timeoutSeconds, const std::vector<Output>& outputs) {
    auto answer = runOnce(callSql, params, timeoutSeconds, outputs);
    // the session expired, or the server ended it: the call was refused whole, so after a new
    // session it is sent once more
    if (!answer && !token_.isEmpty() && answer.error().description.startsWith(u"28000:"_s)) {
        if (auto opened = openSession(); !opened) return opened.error();
        answer = runOnce(callSql, params, timeoutSeconds, outputs);
    }
    // a statement parsed before the server's procedures were replaced: the call failed whole,
    // so it is parsed again and sent once more
    if (!answer && !prepared_.isEmpty() && isStaleStatement(answer.error())) {
        prepared_.clear();
        answer = runOnce(callSql, params, timeoutSeconds, outputs);
    }
    return answer;
}

Result<CallAnswer> PqGateway::runOnce(const QByteArray& callSql,
                                      const std::vector<FieldValue>& params, int timeoutSeconds,
                                      const std::vector<Output>& outputs) {
    if (!conn_) {
        return Error{db_error::kObjectClosed,
                     u"La operación no está permitida si la conexión está cerrada."_s};
    }
    if (!isOpen()) {
        broken_ = true;
        return Error{db_error::kConnectionUnusable,
                     u"La conexión no se puede usar para esta operación: está cerrada o no es "
                     u"válida."_s};
    }

    std::vector<QByteArray> texts;
    std::vector<const char*> values;
    texts.reserve(params.size());
    for (const FieldValue& v : params) {
        if (v) {
            texts.push_back(v->toUtf8());
            values.push_back(texts.back().constData());
        } else {
            values.push_back(nullptr);
        }
    }
    const QByteArray fetch = QByteArray("FETCH ALL FROM ") + kCursorName;
    const QByteArray timeout = QByteArray::number(qint64(timeoutSeconds) * 1000);
    const char* timeoutValue[] = {timeout.constData()};
    const QByteArray token = token_.toLatin1();
    QByteArray sql = callSql;
    if (!token_.isEmpty()) {
        values.push_back(token.constData());
        sql = carryingToken(callSql, static_cast<int>(values.size()));
    }

    // Statement order matters: the results are read back in the same order. The statements up
    // to the pipeline's sync run in one implicit transaction, which the sync commits: no BEGIN
    // and COMMIT of their own, two statements less for the server at every call. Through a
    // pooler, settings last that transaction only and statements are unnamed: the server
    // connection goes on to another counter after it. A server connection of its own keeps its
    // time limit from call to call, so a run of plays sets it once, and has each text parsed
    // once.
    enum Kind { Timeout, Prepare, Call, Fetch };
    struct Step {
        Kind kind;
        QByteArray text;
        QByteArray name;
    };
    std::vector<Step> steps;
    bool sent = true;
    const bool shared = !ownServer_;
    const auto send = [&](Kind kind, const QByteArray& text, int count, const char* const* args) {
        if (!sent) return;
        QByteArray name = prepared_.value(text);
        if (name.isEmpty() && !shared && prepared_.size() < kMostPreparedStatements) {
            name = "vendura_" + QByteArray::number(++statementsNamed_);
            steps.push_back({Prepare, text, name});
            sent = PQsendPrepare(conn_, name.constData(), text.constData(), count, nullptr);
            if (!sent) return;
        }
        steps.push_back({kind, {}, {}});
        sent = name.isEmpty()
                   ? PQsendQueryParams(conn_, text.constData(), count, nullptr, args, nullptr,
                                       nullptr, 0)
                   : PQsendQueryPrepared(conn_, name.constData(), count, args, nullptr, nullptr, 0);
    };
    if (shared) {
        if (timeoutSeconds != kDefaultTimeoutSeconds) {
            send(Timeout, "SELECT set_config('statement_timeout', $1, true)", 1, timeoutValue);
        }
    } else if (sessionTimeout_ != timeoutSeconds) {
        if (timeoutSeconds == kDefaultTimeoutSeconds) {
            send(Timeout, "RESET statement_timeout", 0, nullptr);
        } else {
            send(Timeout, "SELECT set_config('statement_timeout', $1, false)", 1, timeoutValue);
        }
    }
    send(Call, sql, static_cast<int>(values.size()), values.data());
    send(Fetch, fetch, 0, nullptr);
    sent = sent && PQpipelineSync(conn_);
    if (!sent) return lost(u"No se pudo enviar la llamada al servidor"_s);

    CallAnswer answer;
    std::optional<Error> failure;
    size_t index = 0;
    int nulls = 0;
    for (;;) {
        PGresult* r = PQgetResult(conn_);
        if (!r) {
            // a null result separates the statements; a run of them means the link is gone
            if (PQstatus(conn_) != CONNECTION_OK || ++nulls > 2 * int(steps.size())) {
                return lost(u"Se perdió la conexión con el servidor"_s);
            }
            continue;
        }
        nulls = 0;
        const ExecStatusType status = PQresultStatus(r);
        if (status == PGRES_PIPELINE_SYNC) {
            PQclear(r);
            break;
        }
        const Kind step = index < steps.size() ? steps[index].kind : Fetch;
        if (status == PGRES_FATAL_ERROR && !failure) {
            failure = Error{db_error::kServerError, resultMessage(r)};
        } else if (status == PGRES_COMMAND_OK && step == Prepare) {
            prepared_.insert(steps[index].text, steps[index].name);
        } else if (status == PGRES_TUPLES_OK && step == Call && PQntuples(r) == 1) {
            const RecordSet row = toRecordSet(r);
            answer.returnValue = row.value(0, u"return_value"_s);
            for (const Output& o : outputs) {
                answer.outputs.insert(o.callerName, row.value(0, QString::fromLatin1(o.column)));
            }
        } else if (status == PGRES_TUPLES_OK && step == Fetch) {
            answer.rows = toRecordSet(r);
        }
        ++index;
        PQclear(r);
        if (PQstatus(conn_) != CONNECTION_OK) {
            return lost(u"Se perdió la conexión con el servidor"_s);
        }
    }
    if (failure) {
        // a failed transaction takes its settings back; the next call sets its own
        sessionTimeout_.reset();
        return *failure;
    }
    if (!shared) sessionTimeout_ = timeoutSeconds;
    return answer;
}

}  // namespace vendura
