// Loading and saving a document, and the question before a close.
#include "editor/document/pad_doc.h"

#include "editor/app/work_progress.h"
#include "editor/document/encoding_guard.h"
#include "editor/document/file_names.h"
#include "editor/document/pad_view.h"
#include "platform/files/atomic_file.h"
#include "platform/ui/message_box.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include <sys/stat.h>

using namespace platform;

std::function<std::string(const CPadDoc&)> CPadDoc::chooseSavePath;

namespace {

constexpr const char* kCaption = "ZortaPad";

void complain(const std::string& text) {
    messageBox(0, text.c_str(), kCaption, MB_OK | MB_ICONERROR);
}

std::string reason() {
    return std::strerror(errno);
}

} // namespace

bool CPadDoc::open(const std::string& filePath) {
    struct stat st;
    if (stat(filePath.c_str(), &st) != 0) {
        complain("Impossible d'ouvrir le fichier " + messagePath(filePath) + " : " + reason());
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        complain("Impossible d'ouvrir " + messagePath(filePath) + " : ce n'est pas un fichier");
        return false;
    }
    std::ifstream file(filePath, std::ios::binary);
    if (!file) {
        complain("Impossible d'ouvrir le fichier " + messagePath(filePath) + " : " + reason());
        return false;
    }
    const std::int64_t length = st.st_size;
    if (length > kAskAbove) {
        char question[80];
        std::snprintf(question, sizeof question, "Fichier de %d Mega Octets Le CHARGER !!!",
                      static_cast<int>(length >> 20));
        if (messageBox(0, question, kCaption, MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) != IDYES)
            return false;
    }
    try {
        std::string bytes(static_cast<std::size_t>(length), '\0');
        file.read(bytes.data(), static_cast<std::streamsize>(length));
        if (file.gcount() != length || file.peek() != std::ifstream::traits_type::eof()) {
            complain("Lecture incompl\xE8te du fichier " + messagePath(filePath) +
                     " : il a chang\xE9 pendant la lecture");
            return false;
        }
        const DiskState read = diskStateOf(st, bytes);
        const TextEncoding encoding = detectEncoding(bytes);
        SplitFile split = splitFile(decodeText(bytes, encoding));
        bytes = std::string();
        encoding_ = encoding;
        if (view) {
            WorkProgress progress(QStringLiteral("Chargement de %1").arg(shownFileName(filePath)), view);
            if (!view->showFileText(split,
                                    [&](int done, int total) { return progress.report(done, total); })) {
                forgetFile();
                return false;
            }
        }
        disk_ = read;
        told_.reset();
        newLine_ = split.first;
    } catch (const std::bad_alloc&) {
        complain("M\xE9moire insuffisante pour charger le fichier " + messagePath(filePath));
        return false;
    }
    path = filePath;
    setModified(false);
    return true;
}

// The file is replaced whole or not at all, so that a failed save never leaves it half written.
bool CPadDoc::save(const std::string& filePath) {
    if (!view) return false;
    const QString text = fileText(*view->document(), newLine_);
    if (const qsizetype unheld = firstUnheldCharacter(text, encoding_); unheld >= 0) {
        if (!askToSaveAsUtf8(encoding_, QStringView(text).mid(unheld).toUcs4().value(0))) return false;
        encoding_ = TextEncoding::Utf8;
    }
    const std::string bytes = std::string(byteOrderMark(encoding_)) + encodeText(text, encoding_);
    // Over its own file, the content the user agreed to replace is the only one written over.
    std::optional<DiskState> replaced;
    if (filePath == path) {
        const DiskState now = currentDiskState(path, disk_);
        if (!now.sameContent(disk_) &&
            !askToWriteOver(now.exists ? DiskChange::Changed : DiskChange::Deleted))
            return false;
        replaced = now;
    }
    bool changedMeanwhile = false;
    const auto edit = [&](const std::optional<std::string>& current) -> std::optional<std::string> {
        changedMeanwhile = replaced && !diskStateOf(filePath, current).sameContent(*replaced);
        return changedMeanwhile ? std::nullopt : std::optional<std::string>(bytes);
    };
    errno = 0;
    const bool written = rewriteFile(filePath, edit);
    if (changedMeanwhile) {
        complain("Le fichier " + messagePath(filePath) +
                 " a encore été modifié par un autre programme : il n'est pas enregistré");
        return false;
    }
    if (!written) {
        complain("Impossible d'enregistrer le fichier " + messagePath(filePath) +
                 (errno ? " : " + reason() : std::string(" : fichier en lecture seule ou disque plein")));
        return false;
    }
    path = filePath;
    disk_ = diskStateOf(filePath, bytes);
    told_.reset();
    setModified(false);
    return true;
}

bool CPadDoc::SaveModified() {
    if (!isModified()) return true;
    if (!askToSave_) {
        setModified(false);
        return true;
    }
    const std::string question = "Enregistrer les modifications de " + toCodePage(title_) + " ?";
    switch (messageBox(0, question.c_str(), kCaption, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDNO:
        setModified(false);
        return true;
    case IDYES: {
        const std::string target = !path.empty() ? path : chooseSavePath ? chooseSavePath(*this) : "";
        return !target.empty() && save(target);
    }
    default:
        return false;
    }
}

// A load cancelled half way leaves part of a file: the document is emptied and no longer stands for it,
// so that no save can write the part over the whole.
void CPadDoc::forgetFile() {
    DeleteContents();
    path.clear();
    disk_ = {};
    told_.reset();
}

bool CPadDoc::askToWriteOver(DiskChange change) const {
    const std::string question =
        "Le fichier " + messagePath(path) +
        (change == DiskChange::Deleted
             ? " a \xE9t\xE9 supprim\xE9 par un autre programme.\nLe recr\xE9"
               "er en l'enregistrant ?"
             : " a \xE9t\xE9 modifi\xE9 par un autre programme.\nL'enregistrer quand m\xEAme, "
               "en rempla\xE7"
               "ant ses modifications ?");
    return messageBox(0, question.c_str(), kCaption, MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING) == IDYES;
}

CPadDoc::DiskChange CPadDoc::diskChange() const {
    if (path.empty() || !disk_.exists) return DiskChange::None;
    const DiskState now = currentDiskState(path, disk_);
    return now.sameContent(disk_) ? DiskChange::None : now.exists ? DiskChange::Changed : DiskChange::Deleted;
}

// The change is noted before the question, so that the activations the box itself brings ask nothing.
CPadDoc::DiskChange CPadDoc::checkDisk() {
    if (path.empty() || !disk_.exists) return DiskChange::None;
    const DiskState now = currentDiskState(path, told_ ? *told_ : disk_);
    if (now.sameContent(disk_) || (told_ && now.sameContent(*told_))) return DiskChange::None;
    told_ = now;
    if (!now.exists) return DiskChange::Deleted;
    const bool modified = isModified();
    const std::string question = "Le fichier " + messagePath(path) +
                                 " a \xE9t\xE9 modifi\xE9 par un autre programme.\nLe recharger ?" +
                                 (modified ? "\nLes modifications faites ici seront perdues." : "");
    const unsigned type = MB_YESNO | MB_ICONQUESTION | (modified ? MB_DEFBUTTON2 : 0);
    if (messageBox(0, question.c_str(), kCaption, type) == IDYES) open(std::string(path));
    return DiskChange::Changed;
}
