#include "pictures.h"

// Outside any namespace, as the resource's initialiser is declared there.
static void initPicturesResource() { Q_INIT_RESOURCE(pictures); }

namespace ui {

void loadPictures() {
    static const bool loaded = (initPicturesResource(), true);
    Q_UNUSED(loaded);
}

QPixmap picture(const QString& name) {
    loadPictures();
    return QPixmap(QStringLiteral(":/pictures/") + name);
}

QIcon toolIcon(const QString& kind) {
    QIcon icon;
    icon.addPixmap(picture(QStringLiteral("tool/%1.png").arg(kind)));
    icon.addPixmap(picture(QStringLiteral("tool/%1@2x.png").arg(kind))); // device pixel ratio 2, from the name
    return icon;
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(picture(QStringLiteral("icon/lumno-%1.png").arg(size)));
    return icon;
}

} // namespace ui
