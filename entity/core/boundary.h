#pragma once
// The entity's boundary towards the host: an operation that the host calls catches everything there, prints
// its own message through the output routing and answers a failure status.
#include "host/rx/acad_status.h"

namespace entity_boundary {

// Prints `message` and answers the status of the exception being handled; call it inside a catch block.
Acad::ErrorStatus reportFailure(const char* message);

// Runs `body` and answers its result; an exception prints `message` and answers `failure`.
template <class Result, class Body> Result guarded(const char* message, Result failure, Body&& body) {
    try {
        return body();
    } catch (...) {
        reportFailure(message);
        return failure;
    }
}

} // namespace entity_boundary
