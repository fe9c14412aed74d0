#pragma once
// Error statuses answered by database, filer and entity operations. The numbers are part of the interface:
// callers compare them (22 key not found, 36 object to be deleted by its owner, 97 missing symbol record).

namespace Acad {
enum ErrorStatus {
    eOk = 0,
    eNotImplementedYet = 1,
    eNotApplicable = 2,
    eInvalidInput = 3,
    eOutOfMemory = 6,
    eInvalidOpenState = 8,
    eHandleExists = 10,
    eNullHandle = 11,
    eUnknownHandle = 13,
    eNullObjectPointer = 15,
    eNullObjectId = 16,
    eNullEntityPointer = 20,
    eIllegalEntityType = 21,
    eKeyNotFound = 22,
    eDuplicateKey = 23,
    eInvalidIndex = 24,
    eAlreadyInDb = 26,
    eInvalidExtents = 30,
    eInvalidAdsName = 31,
    eInvalidSymbolTableName = 32,
    eWrongObjectType = 34,
    eWrongDatabase = 35,
    eObjectToBeDeleted = 36,
    eInvalidDwgVersion = 37,
    eEndOfObject = 40,
    eEndOfFile = 41,
    eNotOpenForRead = 44,
    eNotOpenForWrite = 45,
    eNotThatKindOfClass = 46,
    eInvalidBlockName = 47,
    eInvalidDxfCode = 50,
    eInvalidResBuf = 51,
    eBadDxfSequence = 52,
    eFilerError = 53,
    eDxfReadAborted = 63,
    eFileAccessErr = 72,
    eFileNotFound = 76,
    eWasErased = 78,
    eWasOpenForRead = 80,
    eWasOpenForWrite = 81,
    eWasOpenForNotify = 84,
    eOnLockedLayer = 85,
    eAtMaxReaders = 88,
    eDuplicateRecordName = 93,
    eSelfReference = 95,
    eMissingSymbolTable = 96,
    eMissingSymbolTableRec = 97,
    eWasNotOpenForWrite = 98,
    eWasNotErased = 105,
    eNoDatabase = 110,
    eRegappIdNotFound = 112,
    eIteratorDone = 115,
    eNotInDatabase = 123,
    eIsAnEntity = 125,
    eCannotScaleNonUniformly = 182,
};
} // namespace Acad

namespace host {
// The status's name ("eKeyNotFound") for messages.
const char* statusName(Acad::ErrorStatus status);
} // namespace host
