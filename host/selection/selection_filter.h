#pragma once
// Selection filters: a result-buffer chain of DXF groups that an entity's list must match. Text values are
// wild-card patterns compared without regard to case ("LINE,ARC", "~0"); numbers compare as equal unless a
// (-4 . "<"), ">", "<=", ">=", "!=" or "&" (some bits in common) stands before them; (-4 . "<NOT") ...
// "NOT>", "<AND" ... "AND>", "<OR" ... "OR>" and "<XOR" ... "XOR>" group conditions. A group the entity
// does not write counts with its default: colour 256 (by layer), linetype "BYLAYER", space 0 (model).
#include <memory>
#include <string>
#include <vector>

#include "host/db/resbuf.h"
#include "host/filing/group.h"

namespace host {

class SelectionFilter {
public:
    SelectionFilter();
    ~SelectionFilter();
    SelectionFilter(SelectionFilter&&) noexcept;
    SelectionFilter& operator=(SelectionFilter&&) noexcept;

    // False with a message for an unknown group code, an unknown operator, or unbalanced groupings.
    bool parse(const resbuf* filter, std::wstring& error);
    bool matches(const std::vector<Group>& entityList) const;

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

} // namespace host
