#include "childform.h"

#include "notify.h"

#include <store/catalogue.h>
#include <store/openings.h>

namespace ui {

QString ChildForm::schoolName() {
    try {
        return store::SchoolName();
    } catch (const store::Error& e) {
        reportError(this, QStringLiteral("无法读取学校名称。"), e);
        return QString();
    }
}

} // namespace ui
