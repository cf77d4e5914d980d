// The windows' Designer forms against their design: every control by its name, kind, caption,
// position and size in twips, font and state; each window's caption, size and tab order. A
// control misnamed or misplaced in a form fails here.
#include "testkit.h"

#include <admin/frmsystem.h>
#include <shell/frmbg.h>
#include <shell/frmhelp.h>
#include <shell/frmlogin.h>
#include <ui/twips.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <functional>

namespace {

// Each window as it stands before it is first shown.
QWidget* make(const QString& window) {
    static const QHash<QString, std::function<QWidget*()>> makers{
        {"frmLogin", [] { return new frmLogin; }},
        {"Frmsystem", [] { return new Frmsystem; }},
        {"Frmhelp", [] { return new Frmhelp; }},
        {"Frmbg", [] { return new Frmbg; }},
    };
    const auto maker = makers.value(window);
    return maker ? maker() : nullptr;
}

QString textOf(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* box = qobject_cast<const QLineEdit*>(w)) return box->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
    return QString();
}

struct Font {
    const char* family;
    double points;
    bool bold;
};
const Font song12{"宋体", 12, false};

} // namespace

class tst_forms : public testkit::WindowTest {
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void windows_data();
    void windows();
};

void tst_forms::controls_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");   // null: not checked (no caption)
    QTest::addColumn<QRect>("geometry"); // pixels; without a size (a label fitted to its text): the position only
    QTest::addColumn<QString>("family"); // null: the font is not designed
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("enabled");
    auto row = [](const char* window, const char* control, const char* kind, const QString& text, QRect geometry,
                  Font font = {nullptr, 0, false}, bool enabled = true) {
        QTest::addRow("%s.%s", window, control)
            << window << control << kind << text << geometry
            << (font.family ? QString::fromUtf8(font.family) : QString()) << font.points << font.bold << enabled;
    };
    const auto tw = ui::twipsRect;

    const Font song12bold{"宋体", 12, true}, song1425bold{"宋体", 14.25, true};
    row("frmLogin", "Label1", "QLabel", "欢迎使用Lumno校务管理软件", tw(480, 120, 4470, 375), {"华文行楷", 18, false});
    row("frmLogin", "lblLabels_0", "QLabel", "用户名：", tw(720, 720, 1215, 285), song1425bold);
    row("frmLogin", "txtUserName", "QLineEdit", "", tw(2130, 705, 2325, 345), song12bold);
    row("frmLogin", "lblLabels_1", "QLabel", "密　码：", tw(705, 1110, 1215, 285), song1425bold);
    row("frmLogin", "txtPassword", "QLineEdit", "", tw(2130, 1095, 2325, 345), song12bold);
    row("frmLogin", "cmdok", "QPushButton", "登　录", tw(840, 1560, 1140, 390), song12bold);
    row("frmLogin", "cmdcancel", "QPushButton", "退　出", tw(3180, 1590, 1140, 390), song12bold);

    row("Frmsystem", "Label1", "QLabel", "Lumno校务管理软件系统设置", QRect(tw(840, 360, 0, 0).topLeft(), QSize()),
        song1425bold);
    row("Frmsystem", "Label2", "QLabel", "学校名称：", tw(360, 1080, 1200, 240), song12);
    row("Frmsystem", "Text1", "QLineEdit", "", tw(1560, 960, 3735, 375), song12, false);
    row("Frmsystem", "Command1", "QPushButton", "修　改", tw(480, 3000, 1215, 495), song12);
    row("Frmsystem", "Label3", "QLabel", "电　　话：", tw(360, 1560, 1200, 240), song12);
    row("Frmsystem", "Text2", "QLineEdit", "", tw(1560, 1440, 2175, 375), song12, false);
    row("Frmsystem", "Label4", "QLabel", "地　　址：", tw(360, 2040, 1200, 240), song12);
    row("Frmsystem", "Text3", "QLineEdit", "", tw(1560, 1920, 3735, 375), song12, false);
    row("Frmsystem", "Label5", "QLabel", "E－mail:", tw(360, 2520, 960, 240), song12);
    row("Frmsystem", "Text4", "QLineEdit", "", tw(1560, 2400, 3735, 375), song12, false);
    row("Frmsystem", "Command2", "QPushButton", "保　存", tw(2280, 3000, 1215, 495), song12, false);
    row("Frmsystem", "cmdexit", "QPushButton", "返 回", tw(4080, 3000, 1215, 495), song12);

    row("Frmhelp", "WebBrowser1", "QTextBrowser", QString(), tw(240, 120, 7455, 6255));

    row("Frmbg", "Frame1", "QWidget", QString(), QRect(0, 0, 800, 530)); // as large as the picture
    row("Frmbg", "Image1", "QLabel", "", tw(0, 0, 12000, 7950));
    const struct {
        double left, top, width, height, x1, x2, y;
    } entries[] = {{720, 1800, 2055, 735, 840, 2640, 2400},
                   {3840, 3120, 1935, 735, 4080, 5640, 3720},
                   {1440, 5040, 2655, 735, 1800, 3720, 5640},
                   {8040, 1800, 2415, 855, 8160, 10320, 2400},
                   {8400, 5280, 2295, 735, 8640, 10440, 5880}};
    for (int i = 0; i < 5; ++i) {
        const auto& e = entries[i];
        const QByteArray label = "Label" + QByteArray::number(i + 1), line = "Line" + QByteArray::number(i + 1);
        row("Frmbg", label, "QLabel", "", tw(e.left, e.top, e.width, e.height));
        // a line of two pixels, from X1 to X2 at Y
        row("Frmbg", line, "QFrame", QString(), QRect(ui::twips(e.x1), ui::twips(e.y) - 1, ui::twips(e.x2 - e.x1), 2));
    }
}

void tst_forms::controls() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(bool, enabled);
    QScopedPointer<QWidget> w(make(window));
    QVERIFY2(w, qPrintable(window));
    auto* c = w->findChild<QWidget*>(control);
    QVERIFY2(c, qPrintable(window + " has no control " + control));
    QVERIFY2(c->inherits(kind.toLatin1()), c->metaObject()->className());
    if (!text.isNull()) QCOMPARE(textOf(c), text);
    if (geometry.isValid())
        QCOMPARE(c->geometry(), geometry);
    else
        QCOMPARE(c->pos(), geometry.topLeft());
    if (!family.isNull()) {
        QCOMPARE(c->font().family(), family);
        QCOMPARE(c->font().pointSizeF(), points);
        QCOMPARE(c->font().bold(), bold);
    }
    QCOMPARE(c->isEnabled(), enabled);
}

void tst_forms::windows_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("tabOrder");
    QTest::newRow("frmLogin") << "frmLogin"
                              << "欢迎使用Lumno校务管理软件" << ui::twipsRect(0, 0, 5430, 2280).size()
                              << QStringList{"txtUserName", "txtPassword", "cmdok", "cmdcancel"};
    QTest::newRow("Frmsystem") << "Frmsystem"
                               << "系统设定" << ui::twipsRect(0, 0, 6000, 4215).size()
                               << QStringList{"Text1", "Command1", "Text2", "Text3", "Text4", "Command2", "cmdexit"};
    QTest::newRow("Frmhelp") << "Frmhelp"
                             << "帮助" << QSize() << QStringList{"WebBrowser1"};
    QTest::newRow("Frmbg") << "Frmbg"
                           << "" << QSize() << QStringList{};
}

void tst_forms::windows() {
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(QStringList, tabOrder);
    QScopedPointer<QWidget> w(make(window));
    QVERIFY2(w, qPrintable(window));
    QCOMPARE(w->objectName(), window);
    QCOMPARE(w->windowTitle(), caption);
    if (size.isValid()) QCOMPARE(w->size(), size);
    QStringList chain; // the focus chain, through the controls that take the focus
    for (QWidget* c = w->nextInFocusChain(); c && c != w.data(); c = c->nextInFocusChain())
        if (c->focusPolicy() & Qt::TabFocus) chain << c->objectName();
    QCOMPARE(chain, tabOrder);
}

QTEST_MAIN(tst_forms)
#include "tst_forms.moc"
