#include <shell/frmlogin.h>
#include <store/privacy.h>
#include <ui/fonts.h>
#include <ui/translation.h>

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    // Every file and folder the program creates is its owner's alone (Linux).
    store::keepNewFilesPrivate();
    // Set before the application exists: the windows it makes behind the scenes carry this name.
    QApplication::setApplicationName(QStringLiteral("校务管理软件"));
    QApplication app(argc, argv);
    ui::installQtTranslation(); // Qt's own menus and dialogs in Chinese, like the rest
    // The installed menu entry and icon (packaging/): desktops match the windows to them.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.lumno.Lumno"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.lumno.Lumno")));
    ui::registerFontSubstitutions();
    QApplication::setFont(ui::song(9));
    auto* login = new frmLogin;
    login->show();
    return app.exec();
}
