#include <admin/datafolder.h>
#include <shell/frmlogin.h>
#include <store/privacy.h>
#include <ui/fonts.h>
#include <ui/notify.h>
#include <ui/translation.h>

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTextStream>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char** argv) {
    // Every file and folder the program creates is its owner's alone (Linux).
    store::keepNewFilesPrivate();
#ifdef Q_OS_WIN
    // Held while the program runs (the system drops it when the process ends, however it ends):
    // the installer and the uninstaller refuse to go on while it exists.
    CreateMutexW(nullptr, FALSE, LUMNO_RUNNING_MUTEX);
#endif
    // Set before the application exists: the windows it makes behind the scenes carry this name.
    QApplication::setApplicationName(QStringLiteral("校务管理软件"));
    QApplication app(argc, argv);
    ui::installQtTranslation(); // Qt's own menus and dialogs in Chinese, like the rest
    // The installed menu entry and icon (packaging/): desktops match the windows to them.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.lumno.Lumno"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.lumno.Lumno")));
    ui::registerFontSubstitutions();
    QApplication::setFont(ui::song(9));
    // Started inside its own folder (installed or unpacked from the zip, which holds no data
    // file): the data files that are missing there are made, and a file that exists is never
    // touched, so unpacking over a used folder keeps every record.
    if (QDir::current() == QDir(QCoreApplication::applicationDirPath())) {
        QString created;
        QTextStream log(&created);
        if (const QString failure = datafolder::prepare(QDir::currentPath(), log); !failure.isEmpty()) {
            ui::notify(nullptr, failure + "\n软件没有启动。", ui::Warning);
            return 1;
        }
    }
    auto* login = new frmLogin;
    login->show();
    return app.exec();
}
