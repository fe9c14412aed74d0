#include "host/lisp/lisp_answers.h"

#include "host/db/db_object.h"
#include "host/input/text_numbers.h"
#include "host/lisp/lisp_args.h"
#include "host/selection/selection_sets.h"

namespace host {

bool lispAnswerItem(const LispValue& v, InputItem& item) {
    switch (v.kind) {
    case LispValue::String:
        if (v.text == L"\\") return false;
        item = v.text.empty() ? enterItem() : lineItem(v.text);
        return true;
    case LispValue::Integer:
        item = lineItem(std::to_wstring(v.integer));
        return true;
    case LispValue::Real:
        item = lineItem(formatReal(v.real));
        return true;
    case LispValue::Symbol:
        item = lineItem(v.text);
        return true;
    case LispValue::EntityName: {
        AcDbObjectId id;
        if (acdbGetObjectId(id, v.name) != Acad::eOk) badArgument("lentityp", v);
        item = pickItem(id, 0, AcGePoint3d());
        item.hasPoint = false;
        return true;
    }
    case LispValue::PickSet: {
        const std::vector<SelectionMember>* members = selectionMembers(v.name);
        if (!members) badArgument("lselsetp", v);
        std::vector<AcDbObjectId> ids;
        for (const SelectionMember& m : *members)
            ids.push_back(m.id);
        item = selectionItem(std::move(ids));
        return true;
    }
    default:
        item = pointItem(pointArgument(v));
        return true;
    }
}

} // namespace host
