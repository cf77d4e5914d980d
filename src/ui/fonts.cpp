#include "fonts.h"

#include <QStringList>

namespace ui {

void registerFontSubstitutions() {
    QFont::insertSubstitutions(QStringLiteral("宋体"), QStringList{"SimSun", "NSimSun", "AR PL UMing CN",
                                                        "WenQuanYi Micro Hei", "Noto Sans CJK SC"});
    QFont::insertSubstitutions(QStringLiteral("隶书"), QStringList{"LiSu", "STLiti", "AR PL UKai CN",
                                                        "AR PL UMing CN", "WenQuanYi Micro Hei"});
    QFont::insertSubstitutions(QStringLiteral("华文行楷"), QStringList{"STXingkai", "AR PL UKai CN",
                                                          "AR PL UMing CN", "WenQuanYi Micro Hei"});
    QFont::insertSubstitutions(QStringLiteral("楷体"), QStringList{"KaiTi", "STKaiti", "AR PL UKai CN",
                                                        "AR PL UMing CN"});
}

QFont designFont(const QString& family, double points, bool bold, bool italic) {
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

} // namespace ui
