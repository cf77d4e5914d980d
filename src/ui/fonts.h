#pragma once

#include <QFont>
#include <initializer_list>

class QWidget;

namespace ui {

// Maps the designed Chinese font names to the fonts this machine has (SimSun, LiSu, STXingkai
// on Windows; the AR PL and WenQuanYi fonts elsewhere). Call once at start-up.
void registerFontSubstitutions();

// A font of a designed family at a designed size (fractional sizes such as 14.25 kept).
QFont designFont(const QString& family, double points, bool bold = false, bool italic = false);
inline QFont song(double points, bool bold = false, bool italic = false) {
    return designFont(QStringLiteral("宋体"), points, bold, italic);
}

// Gives controls of a form the fractional point size that the form cannot hold (uic keeps whole
// points only): 14.25, 10.5, 15.75. Family, weight and slant stay as the form has them.
void setPointSize(double points, std::initializer_list<QWidget*> widgets);

} // namespace ui
