#include "app/recent_files.h"

#include <QFileInfo>
#include <QSettings>

#include "toolkit/text.h"

namespace vorlan {

QStringList RecentFiles::files() const {
    return settings_ != nullptr ? settings_->value("recent/files").toStringList() : QStringList();
}

void RecentFiles::add(const QString& path) {
    if (settings_ == nullptr)
        return;
    const QString absolute = shownPath(QFileInfo(path).absoluteFilePath());
    QStringList list = files();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kMax)
        list.removeLast();
    settings_->setValue("recent/files", list);
}

void RecentFiles::forget(const QString& path) {
    if (settings_ == nullptr)
        return;
    QStringList list = files();
    list.removeAll(path);
    settings_->setValue("recent/files", list);
}

QByteArray RecentFiles::value(const char* key) const {
    return settings_ != nullptr ? settings_->value(key).toByteArray() : QByteArray();
}

void RecentFiles::setValue(const char* key, const QByteArray& value) {
    if (settings_ != nullptr)
        settings_->setValue(key, value);
}

QString RecentFiles::text(const char* key) const {
    return settings_ != nullptr ? settings_->value(key).toString() : QString();
}

void RecentFiles::setText(const char* key, const QString& value) {
    if (settings_ != nullptr)
        settings_->setValue(key, value);
}

bool RecentFiles::keep() {
    if (settings_ == nullptr)
        return true;
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

QString RecentFiles::where() const {
    return settings_ != nullptr ? shownPath(settings_->fileName()) : QString();
}

}  // namespace vorlan
