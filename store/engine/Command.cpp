#include "store/engine/Command.h"

#include "store/engine/Connection.h"
#include "store/engine/EngineError.h"
#include "store/engine/Recordset.h"

namespace engine {

std::shared_ptr<Recordset> Command::Execute(qint64* recordsAffected, int options)
{
    if (!m_connection)
        throw EngineError(QStringLiteral(
            "The connection cannot be used to perform this operation. It is either closed or invalid in this context."));
    return m_connection->Execute(m_text, recordsAffected, options);
}

} // namespace engine
