#pragma once
// Attributes: the named texts a block reference owns (ATTRIB), made from the attribute definitions of its
// block (ATTDEF). Both are texts with a tag and flags; a definition also has the prompt that asks for the
// value, and its text is the default value.
#include <string>

#include "host/entities/text.h"

namespace host {

// What an attribute and its definition share.
class AttributeText : public AcDbText {
public:
    using AcDbText::AcDbText;
    // A copy the caller frees with acutDelString.
    ACHAR* tag() const;
    const ACHAR* tagConst() const { return m_tag.c_str(); }
    // A tag is one word: an empty tag or one with a space is eInvalidInput.
    Acad::ErrorStatus setTag(const ACHAR* tag);
    bool isInvisible() const { return m_flags & kInvisible; }
    Acad::ErrorStatus setInvisible(bool value) { return setFlag(kInvisible, value); }
    bool isConstant() const { return m_flags & kConstant; }
    Acad::ErrorStatus setConstant(bool value) { return setFlag(kConstant, value); }
    bool isVerifiable() const { return m_flags & kVerifiable; }
    Acad::ErrorStatus setVerifiable(bool value) { return setFlag(kVerifiable, value); }
    bool isPreset() const { return m_flags & kPreset; }
    Acad::ErrorStatus setPreset(bool value) { return setFlag(kPreset, value); }
    Adesk::UInt16 fieldLength() const { return m_fieldLength; }
    Acad::ErrorStatus setFieldLength(Adesk::UInt16 length) { return setField(m_fieldLength, length); }
    bool lockPositionInBlock() const { return m_lockPosition; }
    Acad::ErrorStatus setLockPositionInBlock(bool locked) { return setField(m_lockPosition, locked); }

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    // Flags of group 70.
    static constexpr Adesk::Int16 kInvisible = 1, kConstant = 2, kVerifiable = 4, kPreset = 8;

    // The attribute's own subclass, `marker`: the version (a 280 before the tag, not kept), the tag, the
    // flags, the field length, the vertical alignment (74) and the locked position (a 280 after the tag);
    // `readGroup` takes the groups of the class's own (a definition's prompt).
    template <typename F>
    Acad::ErrorStatus readAttributeSubclass(AcDbDxfFiler* filer, const ACHAR* marker, F readGroup);
    void writeAttributeGroups(AcDbDxfFiler* filer) const;
    // The tag, flags, field length and locked position of `other`.
    void copyAttributeFields(const AttributeText& other);

private:
    Acad::ErrorStatus setFlag(Adesk::Int16 flag, bool value);
    bool readAttributeGroup(const resbuf& rb, bool& tagRead);

    std::wstring m_tag;
    Adesk::Int16 m_flags = 0;
    Adesk::UInt16 m_fieldLength = 0;
    bool m_lockPosition = false;
};

template <typename F>
Acad::ErrorStatus AttributeText::readAttributeSubclass(AcDbDxfFiler* filer, const ACHAR* marker,
                                                       F readGroup) {
    if (!filer->atSubclassData(marker)) {
        filer->setFilerStatus(Acad::eBadDxfSequence);
        return Acad::eBadDxfSequence;
    }
    bool tagRead = false;
    return readSubclassGroups(filer, [&](const resbuf& rb) {
        if (!readAttributeGroup(rb, tagRead)) readGroup(rb);
    });
}

} // namespace host

class AcDbAttributeDefinition : public host::AttributeText {
    HOST_DECLARE_MEMBERS(AcDbAttributeDefinition)
public:
    AcDbAttributeDefinition() = default;
    // `text` is the default value.
    AcDbAttributeDefinition(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                            const ACHAR* prompt, AcDbObjectId style = AcDbObjectId());
    // A copy the caller frees with acutDelString.
    ACHAR* prompt() const;
    const ACHAR* promptConst() const { return m_prompt.c_str(); }
    Acad::ErrorStatus setPrompt(const ACHAR* prompt);

    // A definition shows its tag where it stands; a block reference shows the value instead.
    bool subWorldDraw(AcGiWorldDraw* draw) override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    Acad::ErrorStatus readLastSubclass(AcDbDxfFiler* filer) override;
    void writeLastSubclass(AcDbDxfFiler* filer) const override;

private:
    std::wstring m_prompt;
};

class AcDbAttribute : public host::AttributeText {
    HOST_DECLARE_MEMBERS(AcDbAttribute)
public:
    AcDbAttribute() = default;
    AcDbAttribute(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                  AcDbObjectId style = AcDbObjectId());
    // Takes the definition's text properties, tag and flags, placed by the block reference's transform
    // (AcDbBlockReference::blockTransform); the value is the definition's default until set.
    Acad::ErrorStatus setAttributeFromBlock(const AcDbAttributeDefinition* definition,
                                            const AcGeMatrix3d& blockTransform);

    // An invisible attribute draws nothing.
    bool subWorldDraw(AcGiWorldDraw* draw) override;

protected:
    Acad::ErrorStatus readLastSubclass(AcDbDxfFiler* filer) override;
    void writeLastSubclass(AcDbDxfFiler* filer) const override;
};

namespace host {
// A plain text with the text properties and the entity properties of `source` (an attribute as EXPLODE
// leaves it); the caller owns it.
AcDbText* textOf(const AcDbText& source);
} // namespace host
