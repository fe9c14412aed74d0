#pragma once
// Dictionaries (named objects they own) and xrecords (lists of groups kept in a dictionary).
#include <string>
#include <utility>
#include <vector>

#include "host/db/db_object.h"

class AcDbDictionaryIterator {
public:
    explicit AcDbDictionaryIterator(std::vector<std::pair<std::wstring, AcDbObjectId>> entries);
    const ACHAR* name() const;
    AcDbObjectId objectId() const;
    Acad::ErrorStatus getObject(AcDbObject*& object, AcDb::OpenMode mode) const;
    bool done() const { return m_index >= m_entries.size(); }
    bool next();

private:
    void skipErased();
    std::vector<std::pair<std::wstring, AcDbObjectId>> m_entries;
    std::size_t m_index = 0;
};

class AcDbDictionary : public AcDbObject {
    HOST_DECLARE_MEMBERS(AcDbDictionary)
public:
    Acad::ErrorStatus getAt(const ACHAR* name, AcDbObjectId& id) const;
    Acad::ErrorStatus getAt(const ACHAR* name, AcDbObject*& object, AcDb::OpenMode mode) const;
    bool has(const ACHAR* name) const;
    bool has(AcDbObjectId id) const;
    Acad::ErrorStatus nameAt(AcDbObjectId id, std::wstring& name) const;
    // Stores `object` under `name`, adding it to the database when it is not resident; an object already
    // under that name is erased.
    Acad::ErrorStatus setAt(const ACHAR* name, AcDbObject* object, AcDbObjectId& id);
    // Removes the entry; the object stays in the database (the caller erases it if it wants).
    Acad::ErrorStatus remove(const ACHAR* name);
    Acad::ErrorStatus remove(const ACHAR* name, AcDbObjectId& id);
    int numEntries() const;
    AcDbDictionaryIterator* newIterator() const;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    std::vector<std::pair<std::wstring, AcDbObjectId>>::const_iterator find(const ACHAR* name) const;
    std::vector<std::pair<std::wstring, AcDbObjectId>> m_entries;
};

class AcDbXrecord : public AcDbObject {
    HOST_DECLARE_MEMBERS(AcDbXrecord)
public:
    // A copy of the data that the caller frees with acutRelRb.
    Acad::ErrorStatus rbChain(resbuf*& chain, AcDbDatabase* auxDb = nullptr) const;
    Acad::ErrorStatus setFromRbChain(const resbuf& chain, AcDbDatabase* auxDb = nullptr);
    const std::vector<host::Group>& data() const { return m_data; }

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    std::vector<host::Group> m_data;
};
