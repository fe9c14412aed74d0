// The shape, function, Go and Way modes are not written yet: the form and function keywords answer "other
// input", an imposed shape finishes nothing, and Go and Way end as on Cancel, so that the loop goes back to
// digitising.
#include "plugin/editor/qpoly_edit.h"

namespace {

constexpr int kOtherInput = -3;

} // namespace

int qpoly_edit::formes(int, SegmentJig*, int) {
    return kOtherInput;
}

int qpoly_edit::fonctions(int) {
    return kOtherInput;
}

int qpoly_edit::finishShape(CPolyArc3D*) {
    return 0;
}

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
