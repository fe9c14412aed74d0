#include "host/rx/acad_status.h"

namespace host {

const char* statusName(Acad::ErrorStatus status) {
    switch (status) {
#define HOST_STATUS(name)                                                                                    \
    case Acad::name:                                                                                         \
        return #name;
        HOST_STATUS(eOk)
        HOST_STATUS(eNotImplementedYet)
        HOST_STATUS(eNotApplicable)
        HOST_STATUS(eInvalidInput)
        HOST_STATUS(eOutOfMemory)
        HOST_STATUS(eInvalidOpenState)
        HOST_STATUS(eHandleExists)
        HOST_STATUS(eNullHandle)
        HOST_STATUS(eUnknownHandle)
        HOST_STATUS(eNullObjectPointer)
        HOST_STATUS(eNullObjectId)
        HOST_STATUS(eNullEntityPointer)
        HOST_STATUS(eIllegalEntityType)
        HOST_STATUS(eKeyNotFound)
        HOST_STATUS(eDuplicateKey)
        HOST_STATUS(eInvalidIndex)
        HOST_STATUS(eAlreadyInDb)
        HOST_STATUS(eInvalidExtents)
        HOST_STATUS(eInvalidAdsName)
        HOST_STATUS(eInvalidSymbolTableName)
        HOST_STATUS(eWrongObjectType)
        HOST_STATUS(eWrongDatabase)
        HOST_STATUS(eObjectToBeDeleted)
        HOST_STATUS(eInvalidDwgVersion)
        HOST_STATUS(eEndOfObject)
        HOST_STATUS(eEndOfFile)
        HOST_STATUS(eNotOpenForRead)
        HOST_STATUS(eNotOpenForWrite)
        HOST_STATUS(eNotThatKindOfClass)
        HOST_STATUS(eInvalidBlockName)
        HOST_STATUS(eInvalidDxfCode)
        HOST_STATUS(eInvalidResBuf)
        HOST_STATUS(eBadDxfSequence)
        HOST_STATUS(eFilerError)
        HOST_STATUS(eDxfReadAborted)
        HOST_STATUS(eFileAccessErr)
        HOST_STATUS(eFileNotFound)
        HOST_STATUS(eWasErased)
        HOST_STATUS(eWasOpenForRead)
        HOST_STATUS(eWasOpenForWrite)
        HOST_STATUS(eWasOpenForNotify)
        HOST_STATUS(eOnLockedLayer)
        HOST_STATUS(eAtMaxReaders)
        HOST_STATUS(eDuplicateRecordName)
        HOST_STATUS(eSelfReference)
        HOST_STATUS(eMissingSymbolTable)
        HOST_STATUS(eMissingSymbolTableRec)
        HOST_STATUS(eWasNotOpenForWrite)
        HOST_STATUS(eWasNotErased)
        HOST_STATUS(eNoDatabase)
        HOST_STATUS(eRegappIdNotFound)
        HOST_STATUS(eIteratorDone)
        HOST_STATUS(eNotInDatabase)
        HOST_STATUS(eIsAnEntity)
        HOST_STATUS(eCannotScaleNonUniformly)
#undef HOST_STATUS
    }
    return "eUnknownStatus";
}

} // namespace host
