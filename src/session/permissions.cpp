#include "session/permissions.h"

#include "session/session.h"

namespace vendura {

bool validapermiso(const Session& session, const QString& codeOrCaption) {
    const QString code = codeOrCaption.left(3);
    return !code.isEmpty() && session.Permisos.contains(code, Qt::CaseInsensitive);
}

}  // namespace vendura
