// Go and Way modes are not written yet: both end as on Cancel, so that the loop goes back to digitising.
#include "plugin/editor/qpoly_edit.h"

int qpoly_edit::go(int, const char*, int) {
    goState = 0;
    highlightStretch(0);
    return kCancel;
}

int qpoly_edit::way(int, const char*) {
    goState = 0;
    highlightStretch(0);
    return kCancel;
}
