#include "frmnote.h"

#include "ui_frmnote.h"

#include <store/catalogue.h>
#include <ui/designedform.h>

namespace {

const ThemeBook::Facts& events() {
    static const ThemeBook::Facts facts{
        "tabnote",
        store::kEventsFile,
        QStringLiteral("学校大事历"),
        3300,
        {{"txttime", QStringLiteral("请输入时间！")}, {"txtrecorder", QStringLiteral("请输入记录员！")}},
    };
    return facts;
}

} // namespace

Frmnote::Frmnote(QWidget* parent) : ThemeBook(events(), parent) {
    Ui::Frmnote form;
    form.setupUi(this);
    ui::setPointSize(10.5, {form.Label2});
    ui::setPointSize(14.25, {form.Label1_11, form.Label1_2, form.Label1_3, form.Label1_4, form.Label1_5});
    open({form.Frame1,
          form.Label1_0,
          form.Toolbar1,
          form.Combo1,
          {form.txttime, form.txtrecorder, form.txtremark, form.txtcontent}});
}
