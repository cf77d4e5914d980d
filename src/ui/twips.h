#pragma once

#include <QRect>
#include <QWidget>
#include <cmath>

// Positions and sizes are designed in twips: 15 twips are one pixel at 96 dots per inch.
namespace ui {

inline int twips(double tw) { return int(std::lround(tw / 15.0)); }
inline double toTwips(int px) { return px * 15.0; }
inline QRect twipsRect(double l, double t, double w, double h) { return QRect(twips(l), twips(t), twips(w), twips(h)); }
inline void place(QWidget* w, double l, double t, double width, double height) {
    w->setGeometry(twipsRect(l, t, width, height));
}
inline void placeAt(QWidget* w, double l, double t) { w->move(twips(l), twips(t)); }

} // namespace ui
