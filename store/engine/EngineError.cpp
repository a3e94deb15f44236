#include "store/engine/EngineError.h"

namespace engine {

EngineError::EngineError(QString description)
    : m_description(std::move(description))
    , m_utf8(m_description.toUtf8())
{
}

} // namespace engine
