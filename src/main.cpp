#include <shell/frmlogin.h>
#include <ui/fonts.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    // Set before the application exists: the windows it makes behind the scenes carry this name.
    QApplication::setApplicationName(QStringLiteral("校务管理软件"));
    QApplication app(argc, argv);
    // Qt's own texts (context menus, standard buttons) in Chinese like the rest.
    QTranslator qtTexts;
    if (qtTexts.load("qtbase_zh_CN", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    ui::registerFontSubstitutions();
    QApplication::setFont(ui::song(9));
    auto* login = new frmLogin;
    login->show();
    return app.exec();
}
