#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace ui {

// File: an existing file to open; NewFile: a file to write (its name given the type's suffix).
enum class PathKind { Folder, File, NewFile };

// Asks the person for a folder, or for a file matching filter ("数据文件 (*.dat)", types apart
// by ";;"), starting at start. Returns the chosen path, or an empty text when the person cancelled.
QString choosePath(QWidget* parent, const QString& caption, const QString& start, PathKind kind,
                   const QString& filter = QString());

// Replaces the file dialog, for tests: the hook sees every question and gives the answer.
using PathHook = std::function<QString(QWidget* parent, const QString& caption, const QString& start, PathKind kind)>;
void setPathHook(PathHook hook);

} // namespace ui
