#pragma once
// Small readers over lisp_nextarg shared by the LISP functions.
#include "host/db/resbuf.h"

// The next argument when it is an entity name (copied into `name`); false otherwise.
bool nextEntityName(ads_name name);
// The next argument's words when it is a plain entity name: its name word in `word`; false otherwise.
bool nextPlainName(Adesk::Int64& word);
// The list argument of ZOR_VMOD and ZOR_VADD (an outer list unwrapped): the chain from its (-1 . name)
// group to its last item, cut from what follows for as long as this object lives. Null head when the
// argument is no such list, or when one of its items is not a DXF group (a value of the wrong type).
class GroupListArgument {
public:
    GroupListArgument();
    ~GroupListArgument();
    GroupListArgument(const GroupListArgument&) = delete;
    GroupListArgument& operator=(const GroupListArgument&) = delete;

    resbuf* head() const { return m_head; }

private:
    void cutAtClosingBracket(resbuf* first);

    resbuf* m_head = nullptr;
    resbuf* m_last = nullptr; // the item whose link was cut
    resbuf* m_rest = nullptr; // what followed it
};
