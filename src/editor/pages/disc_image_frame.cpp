#include "pages/disc_image_frame.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QtConcurrent/QtConcurrentRun>

#include "image/disc_image.h"
#include "image/executable_extract.h"
#include "image/image_check.h"
#include "session/editor_context.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"
#include "toolkit/widgets.h"

namespace vorlan {

DiscImageFrame::DiscImageFrame(EditorContext& context, QWidget* parent)
    : QGroupBox(u("文件替换程序(用于修改完后把ELF文件替换进ISO)"), parent),
      context_(context),
      imagePath_(readOnlyBox("Text44", 260)),
      extract_(button("ExtractImage", u("提取…"))),
      replaceButton_(button("Command20", u("替换"))),
      restore_(button("RestoreImage", u("恢复"))),
      progress_(new QProgressBar) {
    setObjectName("Frame14");
    auto* label = new QLabel(u("ISO镜像路径"));
    label->setBuddy(imagePath_);
    auto* chooseButton = button("Command14", u("选择镜像"));
    extract_->setEnabled(false);
    extract_->setToolTip(u("把镜像中的游戏主程序复制成一个文件（不改动镜像）"));
    replaceButton_->setEnabled(false);
    replaceButton_->setToolTip(u("把编辑过的游戏主程序写进镜像（先保存镜像中原来的内容）"));
    restore_->setEnabled(false);
    restore_->setToolTip(u("把替换前保存的原内容放回镜像"));
    progress_->setObjectName("ImageProgress");
    progress_->setRange(0, 100);
    progress_->setVisible(false);
    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(imagePath_, 1, 0, 1, 5);
    grid->addWidget(chooseButton, 2, 1);
    grid->addWidget(extract_, 2, 2);
    grid->addWidget(replaceButton_, 2, 3);
    grid->addWidget(restore_, 2, 4);
    grid->addWidget(progress_, 3, 0, 1, 5);
    grid->setColumnStretch(0, 1);
    connect(chooseButton, &QPushButton::clicked, this, &DiscImageFrame::chooseImage);
    connect(extract_, &QPushButton::clicked, this, &DiscImageFrame::extract);
    connect(replaceButton_, &QPushButton::clicked, this, &DiscImageFrame::replace);
    connect(restore_, &QPushButton::clicked, this, &DiscImageFrame::restore);
}

void DiscImageFrame::chooseImage() {
    const QString path = context_.dialogs().openFile(
        // The images first; the program's own "every file" filter still there.
        this,
        u("VORLAN镜像文件(*.iso, *.bin, *.img) | *.iso *.bin *.img | VORLAN镜像文件(*.*) | *.*"),
        context_.places().folder(FilePlaces::Kind::Image));
    // A cancelled dialog keeps the image that was accepted.
    if (path.isEmpty())
        return;
    context_.places().chosen(FilePlaces::Kind::Image, path);
    useImage(path);
}

void DiscImageFrame::useImage(const QString& path) {
    isopath_ = shownPath(QFileInfo(path).absoluteFilePath());
    checkiso();
}

void DiscImageFrame::checkiso() {
    const ImageCheck check = checkImage(toPath(isopath_));
    if (check.ok) {
        imagePath_->setText(isopath_);
    } else {
        imagePath_->clear();
        context_.dialogs().information(this, u(check.message));
    }
    updateButtons();
}

void DiscImageFrame::updateButtons() {
    const bool accepted = !imagePath_->text().isEmpty();
    extract_->setEnabled(accepted && !busy_);
    replaceButton_->setEnabled(accepted && !busy_);
    // A refused image is not offered for a restore either: it would be refused the same way.
    restore_->setEnabled(accepted && !busy_ && !savedRegionFiles(toPath(isopath_)).empty());
}

void DiscImageFrame::extract() {
    const QString image = imagePath_->text();
    if (image.isEmpty()) {
        context_.dialogs().information(this, u("请先选择VORLAN的镜像文件"));
        return;
    }
    const QString path = context_.dialogs().saveFile(
        this, u("SLKV_618.04(SLKV_618.04) | SLKV_618.04 | 所有文件 (*) | *"),
        QFileInfo(image).dir().filePath(u("SLKV_618.04")));
    if (path.isEmpty())
        return;
    // The save dialog has asked before an existing file is replaced.
    const ImageExtract made =
        extractExecutable(toPath(image), toPath(path), true, context_.session().keptFiles());
    if (!made.ok) {
        // An image that no longer passes the check is not offered for a replace either.
        if (!checkImage(toPath(isopath_)).ok)
            imagePath_->clear();
        updateButtons();
        context_.dialogs().information(this, u(made.message));
        return;
    }
    if (context_.dialogs().question(
            this, u("已把镜像中的游戏主程序提取到：\n") + path + u("\n是否打开它？")))
        context_.session().openExecutable(path, this);
}

void DiscImageFrame::replace() {
    if (imagePath_->text().isEmpty()) {
        context_.dialogs().information(this, u("请先选择VORLAN的镜像文件"));
        return;
    }
    // The image that passed the check, and the executable with every edit written.
    const QString image = imagePath_->text();
    if (context_.session().editor(this) == nullptr || !context_.pending().resolvePending(this))
        return;
    std::vector<std::uint8_t> executable;
    try {
        Document* document = context_.session().document();
        if (const std::string torn = document->unfinishedWriteProblem(); !torn.empty()) {
            context_.dialogs().information(this, u(torn + "\n没有把它放进镜像，镜像没有改动。"));
            return;
        }
        executable = document->read(0, static_cast<std::size_t>(document->size()));
    } catch (const std::exception& e) {
        context_.session().readFailed(this, e);
        return;
    }
    run(
        [image, executable](const auto& progress) {
            return replaceExecutable(toPath(image), executable, progress);
        },
        u("替换完成"));
}

void DiscImageFrame::restore() {
    const QString image = isopath_;
    if (!context_.dialogs().question(
            this,
            u("将要把第一次替换前保存的原内容（光盘原来的游戏主程序）放回镜像：\n") + image +
                u("\n是否进行操作"),
            Dialogs::Default::Cancel))
        return;
    run([image](const auto& progress) { return restoreRegion(toPath(image), progress); },
        u("已把保存的原内容放回镜像"), true);
}

bool DiscImageFrame::trustForeign(const std::filesystem::path& region) {
    return context_.dialogs().question(
        this,
        u("「") + QString::fromStdU16String(region.u16string()) +
            u("」不是本程序在这台电脑上为你保存的原内容：它是在别的电脑上、由别的用户或本程序"
              "的旧版本保存的，不能确认它没有被换过。\n"
              "只有它是你自己在别处保存的（例如把镜像和它一起搬到了这台电脑）时，才把它写回"
              "镜像。写回前仍会检查它是完整的游戏主程序；写回后它就算作你在这台电脑上保存"
              "的。\n点“取消”，镜像保持现在的内容。\n\n是否把它写回镜像？"),
        Dialogs::Default::Cancel);
}

void DiscImageFrame::run(
    const std::function<ImageWrite(const std::function<void(std::uint64_t, std::uint64_t)>&)>&
        write,
    const QString& done, bool offerTrust) {
    busy_ = true;
    updateButtons();
    progress_->setValue(0);
    progress_->setVisible(true);
    QPointer<QProgressBar> bar = progress_;
    const auto progress = [bar](std::uint64_t part, std::uint64_t total) {
        const int percent = total == 0 ? 100 : static_cast<int>(100 * part / total);
        QMetaObject::invokeMethod(bar, [bar, percent] {
            if (bar)
                bar->setValue(percent);
        });
    };
    auto* watcher = new QFutureWatcher<ImageWrite>(this);
    connect(watcher, &QFutureWatcher<ImageWrite>::finished, this, [=, this] {
        const ImageWrite result = watcher->result();
        watcher->deleteLater();
        finished(result, done, offerTrust);
    });
    watcher->setFuture(QtConcurrent::run([write, progress] { return write(progress); }));
}

void DiscImageFrame::finished(const ImageWrite& result, const QString& done, bool offerTrust) {
    busy_ = false;
    progress_->setVisible(false);
    // An image that no longer passes the check is not offered for another replace.
    checkImage(toPath(isopath_)).ok ? imagePath_->setText(isopath_) : imagePath_->clear();
    updateButtons();
    // A region saved elsewhere is written only when the user vouches for it.
    if (!result.ok && offerTrust && !result.foreign.empty()) {
        if (trustForeign(result.foreign)) {
            const QString image = isopath_;
            const auto from = result.foreign;
            run(
                [image, from](const auto& progress) {
                    return restoreRegion(toPath(image), progress, nullptr, from, true);
                },
                done);
        }
        return;
    }
    if (result.ok) {
        const auto name = [](const std::filesystem::path& p) {
            return QString::fromStdU16String(p.u16string());
        };
        context_.dialogs().information(
            this,
            done +
                (result.restored.empty() ? QString()
                                         : u("\n放回的内容来自 ") + name(result.restored)) +
                (result.saved.empty() ? QString()
                                      : u("\n镜像中被覆盖的内容保存在 ") + name(result.saved)) +
                (result.note.empty() ? QString() : u("\n") + u(result.note)) +
                (result.warning.empty() ? QString() : u("\n\n") + u(result.warning)));
    } else {
        context_.dialogs().information(this, u(result.message));
    }
}

}  // namespace vorlan
