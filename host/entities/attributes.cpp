#include "host/entities/attributes.h"

#include <memory>

#include "host/filing/dwg_filer.h"

HOST_DEFINE_MEMBERS(AcDbAttributeDefinition, AcDbText, L"ATTDEF")
HOST_DEFINE_MEMBERS(AcDbAttribute, AcDbText, L"ATTRIB")

namespace host {

namespace {
// Groups of the attribute subclass.
constexpr short kTag = 2, kFlags = 70, kFieldLength = 73, kVertical = 74, kVersionOrLock = 280;

// The text part of `source` filed into `target`: an attribute's text properties and entity properties.
void copyTextPart(const AcDbText& source, AcDbText& target) {
    DwgMemoryFiler filer(AcDb::kCopyFiler, source.databaseOrWorking());
    source.AcDbText::dwgOutFields(&filer);
    filer.rewind();
    target.AcDbText::dwgInFields(&filer);
}
} // namespace

ACHAR* AttributeText::tag() const {
    return acutNewString(m_tag.c_str());
}

Acad::ErrorStatus AttributeText::setTag(const ACHAR* tag) {
    if (!tag || !*tag || std::wstring_view(tag).find(L' ') != std::wstring_view::npos)
        return Acad::eInvalidInput;
    return setField(m_tag, std::wstring(tag));
}

Acad::ErrorStatus AttributeText::setFlag(Adesk::Int16 flag, bool value) {
    return setField(m_flags, static_cast<Adesk::Int16>(value ? m_flags | flag : m_flags & ~flag));
}

void AttributeText::copyAttributeFields(const AttributeText& other) {
    assertWriteEnabled();
    m_tag = other.m_tag;
    m_flags = other.m_flags;
    m_fieldLength = other.m_fieldLength;
    m_lockPosition = other.m_lockPosition;
}

bool AttributeText::readAttributeGroup(const resbuf& rb, bool& tagRead) {
    switch (rb.restype) {
    case kTag:
        m_tag = rb.resval.rstring;
        tagRead = true;
        return true;
    case kFlags:
        m_flags = rb.resval.rint;
        return true;
    case kFieldLength:
        m_fieldLength = static_cast<Adesk::UInt16>(rb.resval.rint);
        return true;
    case kVertical:
        setVerticalMode(rb.resval.rint);
        return true;
    case kVersionOrLock:
        if (tagRead) m_lockPosition = rb.resval.rint != 0;
        return true;
    default:
        return false;
    }
}

void AttributeText::writeAttributeGroups(AcDbDxfFiler* filer) const {
    filer->writeString(kTag, m_tag);
    filer->writeInt16(kFlags, m_flags);
    if (m_fieldLength != 0) filer->writeInt16(kFieldLength, static_cast<Adesk::Int16>(m_fieldLength));
    if (verticalMode() != 0) filer->writeInt16(kVertical, static_cast<Adesk::Int16>(verticalMode()));
    if (m_lockPosition) filer->writeInt16(kVersionOrLock, 1);
}

Acad::ErrorStatus AttributeText::dwgInFields(AcDbDwgFiler* filer) {
    AcDbText::dwgInFields(filer);
    filer->readString(m_tag);
    filer->readInt16(&m_flags);
    filer->readUInt16(&m_fieldLength);
    return filer->readBool(&m_lockPosition);
}

Acad::ErrorStatus AttributeText::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbText::dwgOutFields(filer);
    filer->writeString(m_tag);
    filer->writeInt16(m_flags);
    filer->writeUInt16(m_fieldLength);
    return filer->writeBool(m_lockPosition);
}

AcDbText* textOf(const AcDbText& source) {
    auto* text = new AcDbText;
    copyTextPart(source, *text);
    return text;
}

} // namespace host

AcDbAttributeDefinition::AcDbAttributeDefinition(const AcGePoint3d& position, const ACHAR* text,
                                                 const ACHAR* tag, const ACHAR* prompt, AcDbObjectId style)
    : AttributeText(position, text, style) {
    setTag(tag);
    setPrompt(prompt);
}

ACHAR* AcDbAttributeDefinition::prompt() const {
    return acutNewString(m_prompt.c_str());
}

Acad::ErrorStatus AcDbAttributeDefinition::setPrompt(const ACHAR* prompt) {
    return setField(m_prompt, std::wstring(prompt ? prompt : L""));
}

bool AcDbAttributeDefinition::subWorldDraw(AcGiWorldDraw* draw) {
    std::unique_ptr<AcDbText> shown(host::textOf(*this));
    shown->setTextString(tagConst());
    return shown->subWorldDraw(draw);
}

Acad::ErrorStatus AcDbAttributeDefinition::dwgInFields(AcDbDwgFiler* filer) {
    AttributeText::dwgInFields(filer);
    return filer->readString(m_prompt);
}

Acad::ErrorStatus AcDbAttributeDefinition::dwgOutFields(AcDbDwgFiler* filer) const {
    AttributeText::dwgOutFields(filer);
    return filer->writeString(m_prompt);
}

Acad::ErrorStatus AcDbAttributeDefinition::readLastSubclass(AcDbDxfFiler* filer) {
    return readAttributeSubclass(filer, L"AcDbAttributeDefinition", [this](const resbuf& rb) {
        if (rb.restype == 3) m_prompt = rb.resval.rstring;
    });
}

void AcDbAttributeDefinition::writeLastSubclass(AcDbDxfFiler* filer) const {
    filer->writeString(100, L"AcDbAttributeDefinition");
    filer->writeString(3, m_prompt);
    writeAttributeGroups(filer);
}

AcDbAttribute::AcDbAttribute(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                             AcDbObjectId style)
    : AttributeText(position, text, style) {
    setTag(tag);
}

Acad::ErrorStatus AcDbAttribute::setAttributeFromBlock(const AcDbAttributeDefinition* definition,
                                                       const AcGeMatrix3d& blockTransform) {
    if (!definition) return Acad::eNullEntityPointer;
    definition->assertReadEnabled();
    assertWriteEnabled();
    host::copyTextPart(*definition, *this);
    copyAttributeFields(*definition);
    return transformBy(blockTransform);
}

bool AcDbAttribute::subWorldDraw(AcGiWorldDraw* draw) {
    return isInvisible() || AcDbText::subWorldDraw(draw);
}

Acad::ErrorStatus AcDbAttribute::readLastSubclass(AcDbDxfFiler* filer) {
    return readAttributeSubclass(filer, L"AcDbAttribute", [](const resbuf&) {});
}

void AcDbAttribute::writeLastSubclass(AcDbDxfFiler* filer) const {
    filer->writeString(100, L"AcDbAttribute");
    writeAttributeGroups(filer);
}
