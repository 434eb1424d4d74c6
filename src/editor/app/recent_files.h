#pragma once
// What the editor remembers between runs (QSettings): the executables opened (the last one
// first, eight at most), the window's size and place, the last page, the splitter, and the
// folder of the player's own name lists.

#include <QByteArray>
#include <QString>
#include <QStringList>

class QSettings;

namespace vorlan {

class RecentFiles {
public:
    static constexpr int kMax = 8;
    explicit RecentFiles(QSettings* settings) : settings_(settings) {}

    bool active() const { return settings_ != nullptr; }
    QStringList files() const;
    // Puts `path` first (once), dropping the oldest beyond eight.
    void add(const QString& path);
    void forget(const QString& path);

    QByteArray value(const char* key) const;
    void setValue(const char* key, const QByteArray& value);
    QString text(const char* key) const;
    void setText(const char* key, const QString& value);

    // Writes what was set to the settings file now; false when it cannot be kept there (its
    // folder cannot be made or written). `where` names the file.
    bool keep();
    QString where() const;

private:
    QSettings* settings_;
};

}  // namespace vorlan
