#pragma once
// The frame "补丁（分享修改）": "应用补丁…" applies a BPS or IPS patch someone made of their
// mod, after listing every field it changes, as one write (one undo step); "制作补丁…" makes
// one from the backup to the executable as it is now.

#include <QGroupBox>

namespace vorlan {

class EditorContext;

class ModPatchFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit ModPatchFrame(EditorContext& context, QWidget* parent = nullptr);

    void applyPatch();
    void makePatch();

private:
    EditorContext& context_;
};

}  // namespace vorlan
