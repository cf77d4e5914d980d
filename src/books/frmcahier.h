#pragma once

#include "themebook.h"

// The minutes of the school's meetings, in "database/cahier.dat".
class Frmcahier : public ThemeBook {
    Q_OBJECT
public:
    explicit Frmcahier(QWidget* parent = nullptr);
    static const ThemeBookDesign& design();
};

// The chronicle of the school's major events, in "database/snote.dat".
class Frmnote : public ThemeBook {
    Q_OBJECT
public:
    explicit Frmnote(QWidget* parent = nullptr);
    static const ThemeBookDesign& design();
};
