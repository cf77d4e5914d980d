#include "choosepath.h"

#include <QFileDialog>

namespace ui {

namespace {
PathHook& hook() {
    static PathHook h;
    return h;
}
} // namespace

void setPathHook(PathHook h) { hook() = std::move(h); }

QString choosePath(QWidget* parent, const QString& caption, const QString& start, PathKind kind,
                   const QString& filter) {
    if (hook()) return hook()(parent, caption, start, kind);
    if (kind == PathKind::Folder) return QFileDialog::getExistingDirectory(parent, caption, start);
    return QFileDialog::getOpenFileName(parent, caption, start, filter);
}

} // namespace ui
