#include "host/host_classes.h"

#include "host/dictionary.h"
#include "host/symbol_tables.h"

namespace host {

void registerHostClasses() {
    static const bool done = [] {
        for (AcRxClass* c :
             {AcDbDictionary::desc(), AcDbXrecord::desc(), AcDbBlockTable::desc(), AcDbLayerTable::desc(),
              AcDbLinetypeTable::desc(), AcDbRegAppTable::desc(), AcDbTextStyleTable::desc(),
              AcDbBlockTableRecord::desc(), AcDbLayerTableRecord::desc(), AcDbLinetypeTableRecord::desc(),
              AcDbRegAppTableRecord::desc(), AcDbTextStyleTableRecord::desc()})
            (void)c;
        return true;
    }();
    (void)done;
}

} // namespace host
