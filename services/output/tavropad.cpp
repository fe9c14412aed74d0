#include "services/output/tavropad.h"

// A kept link is read before it is written: that is its point (static or shared memory holds zeros or an
// earlier state), so the compiler's warning about it does not apply here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
Tavropad::Tavropad(int keep) {
    if (keep == 1 && frameWindow != 0) return;
    processId = 0;
    frameWindow = 0;
    editWindow = 0;
}
#pragma GCC diagnostic pop
