#pragma once
// A tab page that edits the open executable: until one is open, it says how to open one
// instead of showing empty boxes, so a first start shows what to do.

#include <QStackedWidget>

namespace vorlan {

class DocumentSession;
class LazyPage;

class NeedsFile : public QStackedWidget {
    Q_OBJECT
public:
    NeedsFile(LazyPage* page, DocumentSession& session, QWidget* parent = nullptr);
};

}  // namespace vorlan
