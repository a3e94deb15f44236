#include "store/engine/Provider.h"

namespace engine {

Provider::~Provider() = default;

} // namespace engine
