// A bare Qt window program: one window on screen, then ends. With --text it shows one line of
// Chinese, and so pays for the font set-up that any window with Chinese text needs.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> w(
        app.arguments().contains("--text") ? new QLabel(QStringLiteral("欢迎使用Lumno校务管理软件")) : new QWidget);
    w->resize(362, 152);
    w->show();
    QTimer::singleShot(0, &app, [&] {
        w->grab();
        QCoreApplication::quit();
    });
    return app.exec();
}
