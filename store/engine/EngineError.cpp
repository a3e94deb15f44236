#include "store/engine/EngineError.h"

namespace engine {

EngineError::EngineError(QString description, Kind kind)
    : m_description(std::move(description))
    , m_kind(kind)
    , m_utf8(m_description.toUtf8())
{
}

} // namespace engine
