// Starts as the program does, up to the login window on screen, then ends.
#include <shell/frmlogin.h>
#include <ui/fonts.h>

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication::setApplicationName(QStringLiteral("校务管理软件"));
    QApplication app(argc, argv);
    ui::registerFontSubstitutions();
    QApplication::setFont(ui::song(9));
    frmLogin login;
    login.show();
    QTimer::singleShot(0, &app, [&] {
        login.grab(); // painted once
        QCoreApplication::quit();
    });
    return app.exec();
}
