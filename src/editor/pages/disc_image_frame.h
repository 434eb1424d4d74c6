#pragma once
// The frame "文件替换程序(用于修改完后把ELF文件替换进ISO)": picks the game's disc image,
// checks it (`checkiso`), copies the executable out of it into a file ("提取…", then offers
// to open that file), and copies the edited executable into it with a progress bar,
// the window staying responsive; "恢复" puts the saved original region back, asking first
// when that region was saved on another computer, by another user or an earlier version.

#include <QGroupBox>
#include <QString>
#include <filesystem>
#include <functional>

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vorlan {

class EditorContext;
struct ImageWrite;

class DiscImageFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit DiscImageFrame(EditorContext& context, QWidget* parent = nullptr);

    // True while a copy into the image runs.
    bool busy() const { return busy_; }
    // Takes `path` as the image, as if chosen in the dialog (a dropped file).
    void useImage(const QString& path);

private:
    void chooseImage();
    // `checkiso`: accepts the image in `isopath_` (path shown, "替换" enabled) or refuses it.
    void checkiso();
    // Asks where to write the image's executable, writes it, and offers to open it.
    void extract();
    void replace();
    void restore();
    // Whether the user vouches for a saved region made elsewhere (asked with a warning).
    bool trustForeign(const std::filesystem::path& region);
    // Runs a write of the image on a worker thread, showing its progress. `offerTrust`: a
    // restore refused for a region saved elsewhere asks, and runs again trusting it on OK.
    void run(const std::function<
                 ImageWrite(const std::function<void(std::uint64_t, std::uint64_t)>&)>& write,
             const QString& done, bool offerTrust = false);
    // A write ended: the buttons follow the image's state, and the result is told.
    void finished(const ImageWrite& result, const QString& done, bool offerTrust);
    void updateButtons();

    EditorContext& context_;
    QString isopath_;
    QLineEdit* imagePath_;
    QPushButton* extract_;
    QPushButton* replaceButton_;
    QPushButton* restore_;
    QProgressBar* progress_;
    bool busy_ = false;
};

}  // namespace vorlan
