#include "frmcahier.h"

#include "ui_frmcahier.h"

#include <store/catalogue.h>
#include <ui/designedform.h>
#include <ui/fonts.h>

// The minutes' facts beside the form: table, file, title suffix and content margin (twips).
Frmcahier::Frmcahier(QWidget* parent) : ThemeBook({"tabcahier", store::kMinutesFile, "学校会议记录", 3550}, parent) {
    Ui::Frmcahier form;
    form.setupUi(this);
    ui::setPointSize(10.5, {form.Label2}); // the sizes the form holds whole
    ui::setPointSize(14.25, {form.Label1_5});
    open(form,
         {form.txttime, form.txtaddress, form.txtrecorder, form.txtattendee, form.txtabsent, form.txtlate,
          form.txtevection, form.txtcontent},
         {{form.txttime, "请输入时间！"},
          {form.txtrecorder, "请输入记录员！"},
          {form.txtaddress, "请输入地点！"},
          {form.txtattendee, "请输入参会人！"}});
}
