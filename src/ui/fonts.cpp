#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <QWidget>

namespace ui {

void registerFontSubstitutions() {
    const struct {
        const char* family;
        QStringList candidates;
    } designed[] = {
        {"宋体", {"SimSun", "NSimSun", "AR PL UMing CN", "WenQuanYi Micro Hei", "Noto Sans CJK SC"}},
        {"隶书", {"LiSu", "STLiti", "AR PL UKai CN", "AR PL UMing CN", "WenQuanYi Micro Hei"}},
        // STXingkai comes with office suites, not with Windows: Windows' own KaiTi stands in for it.
        {"华文行楷", {"STXingkai", "KaiTi", "STKaiti", "AR PL UKai CN", "AR PL UMing CN", "WenQuanYi Micro Hei"}},
        {"楷体", {"KaiTi", "STKaiti", "AR PL UKai CN", "AR PL UMing CN"}},
    };
    // Only the families this machine has: each one missing would cost a search at every use.
    // hasFamily also knows a family by its English name where the system lists it by its
    // Chinese one (Chinese Windows lists KaiTi as 楷体).
    for (const auto& d : designed) {
        QStringList present;
        for (const QString& c : d.candidates)
            if (QFontDatabase::hasFamily(c)) present << c;
        QFont::insertSubstitutions(QString::fromUtf8(d.family), present.isEmpty() ? d.candidates : present);
    }
}

QFont designFont(const QString& family, double points, bool bold, bool italic) {
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void setPointSize(double points, std::initializer_list<QWidget*> widgets) {
    for (QWidget* widget : widgets) {
        QFont f = widget->font();
        f.setPointSizeF(points);
        widget->setFont(f);
    }
}

} // namespace ui
