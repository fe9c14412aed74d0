#include "services/dos/dos_state.h"

#include <string>

namespace services {
namespace {

std::string buffer;

} // namespace

char* sharedDosText(std::string_view text) {
    buffer.assign(text);
    return buffer.data();
}

void resetSharedDosText() {
    std::string().swap(buffer);
}

} // namespace services
