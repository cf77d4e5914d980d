#pragma once

#include "themebook.h"

// The minutes of the school's meetings, in "database/cahier.dat"; its form is frmcahier.ui.
class Frmcahier : public ThemeBook {
    Q_OBJECT
public:
    explicit Frmcahier(QWidget* parent = nullptr);
};
