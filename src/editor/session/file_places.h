#pragma once
// Where each kind of file dialog opens: in the folder last used for that kind of file, else
// beside the open executable (or, for images, beside the image chosen last), never in the
// folder the program happened to be started from. Remembered across runs once settings are
// given.

#include <QMap>
#include <QString>

class QSettings;

namespace vorlan {

class DocumentSession;

class FilePlaces {
public:
    enum class Kind {
        Executable,
        Compare,
        Table,
        AllTables,
        Image,
        Patch,
        CharTable,
        Lists,
        SaveAs
    };

    explicit FilePlaces(const DocumentSession& session) : session_(session) {}
    void useSettings(QSettings* settings);

    // The folder a dialog for `kind` opens in.
    QString folder(Kind kind) const;
    // `name` in that folder, for a save dialog's proposal.
    QString file(Kind kind, const QString& name) const;
    // The player chose `path` (a file, or a folder for the folder kinds): its folder is where
    // the next dialog of `kind` opens.
    void chosen(Kind kind, const QString& path);

private:
    QString remembered(Kind kind) const;

    const DocumentSession& session_;
    QSettings* settings_ = nullptr;
    QMap<Kind, QString> last_;
};

}  // namespace vorlan
