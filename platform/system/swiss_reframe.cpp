#include "platform/system/swiss_reframe.h"

#include <utility>

namespace platform {

namespace {

std::unique_ptr<SwissReframe>& provider() {
    static std::unique_ptr<SwissReframe> installed;
    return installed;
}

} // namespace

void setSwissReframe(std::unique_ptr<SwissReframe> replacement) {
    provider() = std::move(replacement);
}

SwissReframe* swissReframe() {
    return provider().get();
}

} // namespace platform
