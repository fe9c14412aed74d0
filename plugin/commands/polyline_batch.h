#pragma once
// What the batch commands share: a selection of the system's polylines, then each of them opened for write
// in turn. A polyline that does not open (erased meanwhile, on a locked layer) is skipped; the others are
// announced as changed (POLYModif) before the work sees them.
#include <functional>

#include "host/db/db_extents.h"

class CPolyArc3D;

class PolylineBatch {
public:
    // The filter on both classes, asked with the host's own prompt, or with `prompt` and `removePrompt` (the
    // ":$" selection). False when the selection was cancelled or chose nothing.
    bool select(const char* prompt = nullptr, const char* removePrompt = nullptr);
    int size() const { return m_ids.length(); }

    // Opens each polyline for write, announces the change, hands it to `work` and closes it; first to last,
    // or last to first. The kind of each is noted as the commands' last kind. Answers how many were opened.
    int forEach(const std::function<void(CPolyArc3D&)>& work, bool lastToFirst = false) const;

private:
    AcDbObjectIdArray m_ids;
};
