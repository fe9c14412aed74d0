#include "host/editor/file_commands.h"

#include <filesystem>
#include <optional>

#include "host/db/database.h"
#include "host/db/system_variables.h"
#include "host/editor/command_input.h"
#include "host/editor/command_line.h"
#include "host/editor/documents.h"
#include "host/editor/editor.h"
#include "host/editor/message_box.h"
#include "host/filing/dxf_file.h"
#include "host/filing/group.h"
#include "host/filing/text_codec.h"
#include "host/input/prompt_input.h"
#include "host/input/prompts.h"
#include "host/input/text_numbers.h"
#include "host/rx/host_versions.h"

namespace host {

namespace {

constexpr const wchar_t* kUnsavedName = L"Dessin1.dwg";

bool endsWithDxf(const std::wstring& path) {
    if (path.size() < 4) return false;
    std::wstring end = path.substr(path.size() - 4);
    for (wchar_t& c : end)
        c = static_cast<wchar_t>(std::towlower(c));
    return end == L".dxf";
}

std::filesystem::path fileSystemPath(const std::wstring& name) {
    return std::filesystem::path(toUtf8(name));
}

std::wstring displayName(const AcApDocument& doc) {
    return *doc.fileName() ? std::wstring(doc.fileName()) : std::wstring(kUnsavedName);
}

// Whether writing `path` may go on: a file other than the drawing's own is replaced only when the user says
// so.
bool mayWrite(const AcApDocument& doc, const std::wstring& path) {
    std::error_code ignored;
    const std::filesystem::path target = fileSystemPath(path);
    if (!std::filesystem::exists(target, ignored)) return true;
    if (*doc.fileName() && std::filesystem::equivalent(target, fileSystemPath(doc.fileName()), ignored))
        return true;
    acedInitGet(0, L"Oui Non _ Yes No");
    ACHAR answer[8] = L"";
    const int rc =
        acedGetKword(L"\nLe dessin existe déjà. Voulez-vous le remplacer ? [Oui/Non] <Non>: ", answer, 8);
    return rc == RTNORM && std::wstring(answer) == L"Yes";
}

// The DXF versions SAVEAS offers, by the release names its format prompt takes.
struct DxfFormat {
    const wchar_t* release;
    const wchar_t* version;
};
constexpr DxfFormat kDxfFormats[] = {{L"2000", L"AC1015"}, {L"2004", L"AC1018"}, {L"2007", L"AC1021"},
                                     {L"2010", L"AC1024"}, {L"2013", L"AC1027"}, {L"2018", L"AC1032"}};

// Asks a file name and saves under it, DXF in `version` when one is given; false when nothing was saved.
bool askAndSave(AcApDocument& doc, std::optional<std::wstring> typed = {}, const wchar_t* version = nullptr) {
    const std::wstring current = displayName(doc);
    if (!typed) typed = askWord((L"\nEnregistrer le dessin sous <" + current + L">: ").c_str(), current);
    if (!typed) return false;
    const std::wstring path = trim(*typed);
    if (path.empty() || !mayWrite(doc, path)) return false;
    if (version && doc.database()) doc.database()->setHeaderVariable(L"ACADVER", {1, std::wstring(version)});
    return saveDocumentAs(doc, path);
}

// SAVEAS's format prompt: a release chooses the DXF version, Enter keeps the drawing's; any other answer is
// taken as the file name, as scripts written before the prompt existed type it there.
void saveAsWithFormat(AcApDocument& doc) {
    const std::wstring current = doc.database() ? dxfVersionToSave(*doc.database()) : kDefaultDxfVersion;
    std::wstring options, fallback;
    for (const DxfFormat& f : kDxfFormats) {
        options += (options.empty() ? L"" : L"/") + std::wstring(f.release);
        if (current == f.version) fallback = f.release;
    }
    const auto answer = askWord(
        (L"\nEntrez un format de fichier DXF [" + options + L"] <" + fallback + L">: ").c_str(), fallback);
    if (!answer) return;
    for (const DxfFormat& f : kDxfFormats)
        if (trim(*answer) == f.release) {
            askAndSave(doc, {}, f.version);
            return;
        }
    askAndSave(doc, answer);
}

bool quickSave(AcApDocument& doc) {
    return *doc.fileName() ? saveDocumentAs(doc, doc.fileName()) : askAndSave(doc);
}

} // namespace

bool saveDocumentAs(AcApDocument& doc, const std::wstring& path) {
    AcDbDatabase* db = doc.database();
    if (!db) return false;
    acedEditor->fireBeginSave(db, path.c_str());
    const Acad::ErrorStatus es = endsWithDxf(path) ? writeDxfFile(*db, path) : db->saveAs(path.c_str());
    if (es != Acad::eOk) {
        printText(L"\n*** Impossible d'enregistrer " + path + L": " + fromUtf8(db->lastFileError()));
        return false;
    }
    db->markSaved();
    doc.setFileName(path);
    publishDocumentVariables(&doc);
    acedEditor->fireSaveComplete(db, path.c_str());
    return true;
}

void publishDocumentVariables(const AcApDocument* doc) {
    std::error_code ignored;
    const std::wstring name = doc && *doc->fileName() ? doc->fileName() : kUnsavedName;
    const std::filesystem::path path = std::filesystem::absolute(fileSystemPath(name), ignored);
    std::string folder = path.parent_path().string();
    if (!folder.ends_with('/')) folder += '/';
    setSessionVariable(L"DWGNAME", {1, fromUtf8(path.filename().string())});
    setSessionVariable(L"DWGPREFIX", {1, fromUtf8(folder)});
    // The release number and the licence kind, as the CAD program's ACADVER reads.
    setSessionVariable(L"ACADVER", {1, std::to_wstring(emulatedHost().apiVersion) + L".0s (LMS Tech)"});
}

void saveCommand() {
    if (AcApDocument* doc = curDoc()) askAndSave(*doc);
}

void saveAsCommand() {
    if (AcApDocument* doc = curDoc()) saveAsWithFormat(*doc);
}

void qsaveCommand() {
    if (AcApDocument* doc = curDoc()) quickSave(*doc);
}

void quitCommand() {
    AcApDocument* doc = curDoc();
    if (doc && doc->database() && doc->database()->isModifiedSinceSaved()) {
        const std::wstring question =
            L"Enregistrer les modifications apportées à " + displayName(*doc) + L" ?";
        switch (AfxMessageBox(question.c_str(), MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES:
            if (!quickSave(*doc)) return;
            break;
        case IDNO:
            break;
        default:
            return;
        }
    }
    requestQuit();
}

} // namespace host
