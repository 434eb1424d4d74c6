#include "session/file_places.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "session/document_session.h"
#include "toolkit/text.h"

namespace vorlan {

namespace {

QString key(FilePlaces::Kind kind) {
    return QString("folders/%1").arg(static_cast<int>(kind));
}

bool isFolderKind(FilePlaces::Kind kind) {
    return kind == FilePlaces::Kind::AllTables || kind == FilePlaces::Kind::Lists;
}

}  // namespace

void FilePlaces::useSettings(QSettings* settings) {
    settings_ = settings;
}

QString FilePlaces::remembered(Kind kind) const {
    QString last = last_.value(kind);
    if (last.isEmpty() && settings_ != nullptr)
        last = settings_->value(key(kind)).toString();
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : QString();
}

QString FilePlaces::folder(Kind kind) const {
    if (const QString last = remembered(kind); !last.isEmpty())
        return shownPath(last);
    if (!session_.exepath().isEmpty())
        return shownPath(QFileInfo(session_.exepath()).absolutePath());
    // Before any file is open: where the last executable was chosen, else home.
    const QString opened = remembered(Kind::Executable);
    return shownPath(opened.isEmpty() ? QDir::homePath() : opened);
}

QString FilePlaces::file(Kind kind, const QString& name) const {
    return shownPath(QDir(folder(kind)).filePath(name));
}

void FilePlaces::chosen(Kind kind, const QString& path) {
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    const QString where = isFolderKind(kind) ? info.absoluteFilePath() : info.absolutePath();
    last_[kind] = where;
    if (settings_ != nullptr)
        settings_->setValue(key(kind), where);
}

}  // namespace vorlan
