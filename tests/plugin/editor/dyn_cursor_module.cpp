// A stand-in for the outside display module: it records each call of its cursor routine and answers that it
// is active.
#include <vector>

class Mat3D;
class P_Vertex;

struct DynCursorCall {
    P_Vertex* first;
    int count;
    Mat3D* system;
};

namespace {
std::vector<DynCursorCall> g_calls;
}

extern "C" __attribute__((visibility("default"))) int setDynCursor(P_Vertex* first, int count,
                                                                   Mat3D* system) {
    g_calls.push_back({first, count, system});
    return 1;
}

extern "C" __attribute__((visibility("default"))) std::vector<DynCursorCall>* dynCursorCalls() {
    return &g_calls;
}
