#include "frmcahier.h"

#include "ui_frmcahier.h"

#include <store/catalogue.h>
#include <ui/designedform.h>

namespace {

const ThemeBook::Facts& minutes() {
    static const ThemeBook::Facts facts{
        "tabcahier",
        store::kMinutesFile,
        QStringLiteral("学校会议记录"),
        3550,
        {{"txttime", QStringLiteral("请输入时间！")},
         {"txtrecorder", QStringLiteral("请输入记录员！")},
         {"txtaddress", QStringLiteral("请输入地点！")},
         {"txtattendee", QStringLiteral("请输入参会人！")}},
    };
    return facts;
}

} // namespace

Frmcahier::Frmcahier(QWidget* parent) : ThemeBook(minutes(), parent) {
    Ui::Frmcahier form;
    form.setupUi(this);
    ui::setPointSize(10.5, {form.Label2});
    ui::setPointSize(14.25, {form.Label1_5});
    open({form.Frame1,
          form.Label1_0,
          form.Toolbar1,
          form.Combo1,
          {form.txttime, form.txtaddress, form.txtrecorder, form.txtattendee, form.txtabsent, form.txtlate,
           form.txtevection, form.txtcontent}});
}
