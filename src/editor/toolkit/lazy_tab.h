#pragma once
// An inner page of a record page (机体武器, 其他, …) built the first time it is shown or asked
// for: the page a player sees first is drawn without building the others. Forms bound to
// the page find the controls of a lazy tab when it is built (EntryForm::attach).

#include <QWidget>
#include <functional>

namespace vorlan {

class LazyTab : public QWidget {
    Q_OBJECT
public:
    explicit LazyTab(std::function<QWidget*()> build, QWidget* parent = nullptr);

    // The page, built now when it has not been yet.
    QWidget* page();
    bool isBuilt() const { return !build_; }

signals:
    // The page has just been built and put in place.
    void built(QWidget* page);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<QWidget*()> build_;
};

// Builds every lazy tab under `root` not built yet.
void buildLazyTabs(QWidget* root);

}  // namespace vorlan
