#include "choosepath.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

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
    if (kind == PathKind::File) return QFileDialog::getOpenFileName(parent, caption, start, filter);
    QString type;
    QString path = QFileDialog::getSaveFileName(parent, caption, start, filter, &type);
    // A name typed without a suffix takes the chosen type's ("CSV (逗号分隔) (*.csv)").
    const QRegularExpression pattern(QStringLiteral("\\*(\\.\\w+)"));
    const QRegularExpressionMatch m = pattern.match(type);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty() && m.hasMatch()) path += m.captured(1);
    return path;
}

} // namespace ui
