#pragma once

#include "themebook.h"

// The chronicle of the school's major events, in "database/snote.dat"; its form is frmnote.ui.
class Frmnote : public ThemeBook {
    Q_OBJECT
public:
    explicit Frmnote(QWidget* parent = nullptr);
};
