#include "frmcahier.h"

// clang-format off
const ThemeBookDesign& Frmcahier::design() {
    static const ThemeBookDesign s{
        "Frmcahier", "会议记录", "tabcahier", "database/cahier.dat", "学校会议记录",
        0, 3550, 12,
        "会议主题：", 480, 1200, 1680, 1080, 9255, 360,
        {
            {"txttime", "Label1_2", "时    间：", 480, 1680, 1680, 1560, 2895, 375, false, false, 0, true, true, "请输入时间！"},
            {"txtaddress", "Label1_3", "地点：", 4680, 1680, 5400, 1560, 5535, 375, false, false, 0, true, true, "请输入地点！"},
            {"txtrecorder", "Label1_4", "记录员：", 720, 2160, 1680, 2040, 2895, 345, true, false, 25, true, true, "请输入记录员！"},
            {"txtattendee", "Label3", "参会者：", 4800, 2160, 5640, 2040, 5295, 360, true, true, 127, false, false, "请输入参会人！"},
            {"txtabsent", "Label4", "缺席人：", 720, 2640, 1680, 2520, 2295, 360, true, true, 174, false, false, nullptr},
            {"txtlate", "Label5", "迟到早退人：", 4080, 2640, 5400, 2520, 2295, 360, true, true, 174, false, false, nullptr},
            {"txtevection", "Label6", "出差人：", 7800, 2640, 8640, 2520, 2295, 360, true, true, 174, false, false, nullptr},
        },
        360, 3000, 480, 3360, 11055, 4455,
        {"Combo1", "txttime", "txtrecorder", "txtaddress", "txtattendee", "txtcontent"},
        {"txttime", "Combo1", "Toolbar1", "txtcontent", "txtrecorder", "txtaddress", "txtattendee",
         "txtabsent", "txtlate", "txtevection"},
    };
    return s;
}

const ThemeBookDesign& Frmnote::design() {
    static const ThemeBookDesign s{
        "Frmnote", "学校事历", "tabnote", "database/snote.dat", "学校大事历",
        120, 3300, 14.25,
        "主题：", 360, 1080, 1200, 1080, 5895, 360,
        {
            {"txttime", "Label1_2", "时间：", 360, 1680, 1200, 1560, 2895, 375, false, false, 0, true, true, "请输入时间！"},
            {"txtrecorder", "Label1_3", "记录员：", 4200, 1680, 5520, 1560, 3615, 375, false, false, 0, true, true, "请输入记录员！"},
            {"txtremark", "Label1_4", "备注：", 360, 2040, 1200, 2040, 9015, 615, true, true, 100, true, true, nullptr},
        },
        360, 2760, 480, 3120, 11055, 4695,
        {"Combo1", "txttime", "txtrecorder", "txtcontent"},
        {"Combo1", "txttime", "txtrecorder", "txtremark", "txtcontent", "Toolbar1"},
    };
    return s;
}

// clang-format on

Frmcahier::Frmcahier(QWidget* parent) : ThemeBook(design(), parent) {}

Frmnote::Frmnote(QWidget* parent) : ThemeBook(design(), parent) {}
