#include "frmnote.h"

#include "ui_frmnote.h"

#include <store/catalogue.h>
#include <ui/designedform.h>
#include <ui/fonts.h>

// The events' facts beside the form: table, file, title suffix and content margin (twips).
Frmnote::Frmnote(QWidget* parent) : ThemeBook({"tabnote", store::kEventsFile, "学校大事历", 3300}, parent) {
    Ui::Frmnote form;
    form.setupUi(this);
    // The sizes the form holds whole; the field captions are 14.25 pt here (12 pt in the minutes).
    ui::setPointSize(10.5, {form.Label2});
    ui::setPointSize(14.25, {form.Label1_11, form.Label1_2, form.Label1_3, form.Label1_4, form.Label1_5});
    open(form, {form.txttime, form.txtrecorder, form.txtremark, form.txtcontent},
         {{form.txttime, "请输入时间！"}, {form.txtrecorder, "请输入记录员！"}});
}
