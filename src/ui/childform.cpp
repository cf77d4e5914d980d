#include "childform.h"

#include "notify.h"

#include <store/catalogue.h>
#include <store/openings.h>

namespace ui {

void ChildForm::resizeEvent(QResizeEvent*) { Form_Resize(); }
void ChildForm::showEvent(QShowEvent*) { Form_Resize(); }

QString ChildForm::schoolName() {
    QString name;
    attempt(QStringLiteral("无法读取学校名称。"), [&] { name = store::schoolName(); });
    return name;
}

bool ChildForm::mayDiscardInput() {
    if (!hasUnsavedInput()) return true;
    return notify(this, QStringLiteral("《%1》中输入的内容还没有保存。放弃这些内容吗？").arg(windowTitle()),
                  OkCancel | DefaultCancel) == kAnswerOk;
}

bool ChildForm::attempt(const QString& what, const std::function<void()>& action,
                        const std::function<void(const store::Error&)>& onError) {
    return ui::attempt(this, what, action, onError);
}

} // namespace ui
