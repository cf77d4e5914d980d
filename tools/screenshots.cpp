// lumno-screenshots FOLDER PREFIX [WIDTH]: run inside a program folder (a copy of one: the windows
// read its books), shows the login and then each child window in a main window that fills the
// primary screen, and saves what the screen shows as FOLDER/PREFIX-<window>.png, made WIDTH
// pixels wide when given (smaller pictures for the documentation). scripts/screenshots.sh runs
// it on a virtual screen of each size and scale it documents.
#include <shell/frmlogin.h>
#include <shell/frmmain.h>
#include <ui/fonts.h>
#include <ui/notify.h>
#include <ui/translation.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QMdiArea>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>
#include <QWidget>

namespace {

// Lets the windows lay themselves out and paint.
void settle() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents, 50);
}

// What the screen shows: the whole screen where the platform can read it back, else the window.
bool save(QWidget* window, const QString& file, int width) {
    settle();
    QPixmap shot;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) shot = window->screen()->grabWindow(0);
    if (shot.isNull()) shot = window->grab();
    QImage image = shot.toImage();
    if (width > 0 && width < image.width()) image = image.scaledToWidth(width, Qt::SmoothTransformation);
    return image.save(file, "PNG");
}

// The windows in the order of the menus: the file's name and the menu command that opens it
// (none: the launcher the main window starts with).
const struct {
    const char* file;
    const char* command;
    WindowId window;
} kShots[] = {{"launcher", nullptr, WindowId::Frmbg},
              {"cahier", "cahier", WindowId::Frmcahier},
              {"note", "note", WindowId::Frmnote},
              {"addlist", "addlist", WindowId::Frmaddlist},
              {"teacher", "teacher", WindowId::frmteacher},
              {"onduty", "onduty", WindowId::Frmonduty},
              {"report", "print", WindowId::Frmreport},
              {"schoolinfo", "schooolinfo", WindowId::Frmsystem},
              {"findrecords", "findrecords", WindowId::Frmfind},
              {"help", "help", WindowId::Frmhelp}};

} // namespace

int main(int argc, char** argv) {
    QApplication::setApplicationName(QStringLiteral("校务管理软件"));
    QApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() != 2 && args.size() != 3) {
        err << "usage: lumno-screenshots FOLDER PREFIX [WIDTH] (inside a program folder)\n";
        return 2;
    }
    const QDir out(args.at(0));
    const QString prefix = args.at(1);
    const int width = args.value(2).toInt();
    ui::installQtTranslation();
    ui::registerFontSubstitutions();
    QApplication::setFont(ui::song(9));
    // A message would wait for an answer no one gives: it is written out and answered instead.
    ui::setNotifyHook([&err](QWidget*, const QString& text, int) {
        err << "message: " << text << "\n";
        return ui::kAnswerOk;
    });
    bool ok = true;
    {
        frmLogin login;
        login.show();
        ok = save(&login, out.filePath(prefix + "-login.png"), width) && ok;
    }
    frmmain m;
    m.setUser(QStringLiteral("admin"));
    // Maximised; a virtual screen without a window manager gets the room by hand.
    m.showMaximized();
    m.setGeometry(m.screen()->availableGeometry());
    for (const auto& s : kShots) {
        if (s.command) m.findChild<QAction*>(s.command)->trigger();
        ok = save(&m, out.filePath(prefix + "-" + s.file + ".png"), width) && ok;
        if (s.command) m.unload(s.window);
        m.showLauncher();
    }
    if (!ok) err << "a screenshot could not be saved in " << out.absolutePath() << "\n";
    return ok ? 0 : 1;
}
