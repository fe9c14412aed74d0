#include "editor/document/file_names.h"

#include "editor/link/bus_window.h"

#include <QFile>

QString shownPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string fileSystemPath(const QString& shown) {
    return QFile::encodeName(shown).toStdString();
}

QString shownFileName(const std::string& path) {
    return shownPath(path.substr(path.find_last_of('/') + 1));
}

std::string messagePath(const std::string& path) {
    return toCodePage(shownPath(path));
}
