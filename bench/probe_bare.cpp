// A bare Qt window program: one empty window on screen, then ends.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget w;
    w.resize(362, 152);
    w.show();
    QTimer::singleShot(0, &app, [&] {
        w.grab();
        QCoreApplication::quit();
    });
    return app.exec();
}
