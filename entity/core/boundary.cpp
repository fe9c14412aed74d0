#include "entity/core/boundary.h"

#include <new>

#include "host/db/db_object.h"
#include "services/output/output.h"

namespace entity_boundary {

Acad::ErrorStatus reportFailure(const char* message) {
    mprintf("%s", message);
    try {
        throw;
    } catch (const host::OpenStateError&) {
        return Acad::eInvalidOpenState;
    } catch (const std::bad_alloc&) {
        return Acad::eOutOfMemory;
    } catch (...) {
        return Acad::eInvalidInput;
    }
}

} // namespace entity_boundary
