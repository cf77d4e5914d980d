#pragma once

// The child windows of the main window, each named as its object is (the design's names). The
// frame, the launcher entries, the menu and a search's record windows name a window by this, so a
// misspelt window does not compile.
enum class WindowId {
    Frmbg,
    Frmhelp,
    Frmcahier,
    Frmnote,
    Frmaddlist,
    frmteacher,
    Frmonduty,
    Frmreport,
    Frmsystem,
    Frmfind
};
