#include <shell/frmlogin.h>
#include <ui/fonts.h>
#include <ui/translation.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Set before the application exists: the windows it makes behind the scenes carry this name.
    QApplication::setApplicationName(QStringLiteral("校务管理软件"));
    QApplication app(argc, argv);
    ui::installQtTranslation(); // Qt's own menus and dialogs in Chinese, like the rest
    ui::registerFontSubstitutions();
    QApplication::setFont(ui::song(9));
    auto* login = new frmLogin;
    login->show();
    return app.exec();
}
