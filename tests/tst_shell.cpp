// The main window, its menu and child windows, the launcher panel and the help viewer.
#include "testkit.h"

#include <shell/frmbg.h>
#include <shell/frmhelp.h>
#include <shell/frmmain.h>

#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextBrowser>
#include <QtTest>

class tst_shell : public testkit::WindowTest {
    Q_OBJECT
private slots:
    void captionAndMenus();
    void startsWithTheLauncherAlone();
    void childWindowsExistOnce();
    void menuClosesMinutesAndEventsFirst();
    void launcherStaysCentred_data();
    void launcherStaysCentred();
    void hotSpotsUnderlineAndBorder();
    void hotSpotsOpenTheirBooks();
    void dragOffOpensNothing();
    void designedFontsResolve_data();
    void designedFontsResolve();
    void helpPath_data();
    void helpPath();
    void helpKeepsItsMargin();
    void missingHelpPageIsSaid();

private:
    static QWidget* visibleChild(frmmain& m, const QString& name) {
        QWidget* w = m.child(name);
        return w && w->parentWidget()->isVisible() ? w : nullptr;
    }
};

void tst_shell::captionAndMenus() {
    frmmain m;
    QCOMPARE(m.windowTitle(), QString("欢迎使用Lumno校务管理软件　　V1.0    (Lumno 开发组）"));
    QStringList bar, names;
    for (QAction* a : m.menuBar()->actions()) {
        bar << a->text();
        names << a->objectName();
    }
    QCOMPARE(bar, QStringList({"系统设定", "会议记录", "学校事历", "教师通讯录", "教师考勤", "值周安排", "打印报表",
                               "帮助", "退出"}));
    QCOMPARE(names, QStringList({"system", "cahier", "note", "addlist", "teacher", "onduty", "print", "help", "exit"}));
    QStringList items;
    for (QAction* a : m.menuBar()->actions().first()->menu()->actions()) items << a->objectName() + ":" + a->text();
    QCOMPARE(items, QStringList({"schooolinfo:学校信息设置", "cleancahier:会议记录清空", "cleannote:学校事历清空",
                                 "cleanaddlist:通讯录清空", "cleanteacher:教师考勤清空", "cleanonduty:值周安排清空"}));
    QVERIFY(!m.findChild<QAction*>("print")->isEnabled());
}

void tst_shell::startsWithTheLauncherAlone() {
    frmmain m;
    m.show();
    QCOMPARE(m.area()->subWindowList().size(), 1);
    QVERIFY(visibleChild(m, "Frmbg"));
    QVERIFY(m.area()->subWindowList().first()->isMaximized());
}

void tst_shell::childWindowsExistOnce() {
    frmmain m;
    m.show();
    m.findChild<QAction*>("cahier")->trigger();
    QWidget* first = m.child("Frmcahier");
    m.findChild<QAction*>("note")->trigger();
    m.findChild<QAction*>("cahier")->trigger();
    QCOMPARE(m.child("Frmcahier"), first);
    QCOMPARE(m.area()->activeSubWindow()->widget(), first);
    int minutes = 0;
    for (QMdiSubWindow* s : m.area()->subWindowList()) minutes += s->widget()->objectName() == "Frmcahier";
    QCOMPARE(minutes, 1);
    QVERIFY(!visibleChild(m, "Frmbg")); // the books hide the launcher while they are open
    QVERIFY(m.area()->testOption(QMdiArea::DontMaximizeSubWindowOnActivation));
}

void tst_shell::menuClosesMinutesAndEventsFirst() {
    frmmain m;
    m.show();
    m.findChild<QAction*>("cahier")->trigger();
    m.findChild<QAction*>("note")->trigger();
    m.findChild<QAction*>("addlist")->trigger();
    testkit::settle();
    QVERIFY(!m.child("Frmcahier") && !m.child("Frmnote"));
    QVERIFY(visibleChild(m, "Frmaddlist"));
    m.findChild<QAction*>("cahier")->trigger();
    QVERIFY(visibleChild(m, "Frmaddlist") && visibleChild(m, "Frmcahier"));
    m.findChild<QAction*>("onduty")->trigger();
    testkit::settle();
    QVERIFY(!m.child("Frmcahier") && visibleChild(m, "Frmonduty"));
    // A book's own back command unloads it and shows the launcher.
    testkit::clickTool(m.child("Frmonduty"), 4);
    testkit::settle();
    QVERIFY(!m.child("Frmonduty"));
    QVERIFY(visibleChild(m, "Frmbg"));
}

void tst_shell::launcherStaysCentred_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("design") << QSize(792, 534);
    QTest::newRow("large") << QSize(1280, 760);
    QTest::newRow("odd") << QSize(1001, 677);
    QTest::newRow("smaller than the picture") << QSize(600, 400);
}

void tst_shell::launcherStaysCentred() {
    QFETCH(QSize, size);
    Frmbg bg;
    bg.resize(size);
    bg.show();
    auto* frame = bg.findChild<QWidget*>("Frame1");
    auto* image = bg.findChild<QWidget*>("Image1");
    QCOMPARE(image->size(), QSize(800, 530));
    QCOMPARE(frame->size(), image->size());
    QCOMPARE(frame->pos(), QPoint((size.width() - 800) / 2, (size.height() - 530) / 2));
}

void tst_shell::hotSpotsUnderlineAndBorder() {
    Frmbg bg;
    bg.resize(900, 600);
    bg.show();
    for (int i = 1; i <= 5; ++i) {
        auto* label = bg.findChild<QLabel*>(QString("Label%1").arg(i));
        auto* line = bg.findChild<QWidget*>(QString("Line%1").arg(i));
        QVERIFY(!line->isVisible());
        QTest::mouseMove(label, QPoint(5, 5));
        QMouseEvent move(QEvent::MouseMove, QPointF(6, 6), label->mapToGlobal(QPointF(6, 6)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(label, &move);
        QVERIFY(line->isVisible());
    }
    auto* label4 = bg.findChild<QLabel*>("Label4");
    QTest::mousePress(label4, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(label4->frameShape(), QFrame::Box);
    QTest::mouseRelease(label4, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(label4->frameShape(), QFrame::NoFrame);
    bg.hide();
    bg.show();
    for (int i = 1; i <= 5; ++i) QVERIFY(bg.findChild<QWidget*>(QString("Line%1").arg(i))->isVisible());
}

void tst_shell::hotSpotsOpenTheirBooks() {
    frmmain m;
    m.show();
    auto* bg = m.child("Frmbg");
    // Label1 opens the minutes on the press and unloads the panel (deleted after its handler).
    QTest::mousePress(bg->findChild<QLabel*>("Label1"), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(visibleChild(m, "Frmcahier"));
    QPointer<QWidget> old = bg;
    testkit::settle();
    QVERIFY(!old);
    testkit::clickTool(m.child("Frmcahier"), 8);
    testkit::settle();
    bg = m.child("Frmbg");
    QVERIFY(bg && bg->isVisible());
    for (int i = 1; i <= 5; ++i) QVERIFY(!bg->findChild<QWidget*>(QString("Line%1").arg(i))->isVisible());
    QTest::mousePress(bg->findChild<QLabel*>("Label2"), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(visibleChild(m, "Frmnote"));
    const struct {
        const char* label;
        const char* window;
    } clicks[] = {{"Label3", "Frmonduty"}, {"Label4", "Frmaddlist"}, {"Label5", "frmteacher"}};
    for (const auto& c : clicks) {
        QTest::mouseClick(bg->findChild<QLabel*>(c.label), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY2(visibleChild(m, c.window), c.window);
        QVERIFY(!visibleChild(m, "Frmbg"));
    }
}

void tst_shell::dragOffOpensNothing() {
    frmmain m;
    m.show();
    auto* label = m.child("Frmbg")->findChild<QLabel*>("Label4");
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(label->width() + 40, 5));
    QVERIFY(!m.child("Frmaddlist"));
    QCOMPARE(label->frameShape(), QFrame::NoFrame);
}

// The designed families resolve to a face of their style wherever the machine has one: 华文行楷
// (not part of Windows itself) falls back to a kai face, as 隶书 does.
void tst_shell::designedFontsResolve_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QStringList>("faces");
    QTest::newRow("song") << "宋体" << QStringList{"SimSun", "NSimSun", "宋体", "AR PL UMing CN"};
    QTest::newRow("li") << "隶书" << QStringList{"LiSu", "STLiti", "隶书", "AR PL UKai CN"};
    QTest::newRow("xingkai") << "华文行楷"
                             << QStringList{"STXingkai", "华文行楷", "KaiTi", "楷体", "STKaiti", "AR PL UKai CN"};
}

void tst_shell::designedFontsResolve() {
    QFETCH(QString, family);
    QFETCH(QStringList, faces);
    if (std::none_of(faces.begin(), faces.end(), [](const QString& f) { return QFontDatabase::hasFamily(f); }))
        QSKIP("this machine has no face of this style");
    const QString resolved = QFontInfo(QFont(family)).family();
    QVERIFY2(faces.contains(resolved), qPrintable(family + " shows as " + resolved));
}

// The program's folder as the system reports it, and the help page's path in the system's own
// separators: one separator before "help", also in a drive's root folder.
void tst_shell::helpPath_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("page");
    QTest::newRow("folder") << "/opt/lumno"
                            << "/opt/lumno/help/help.htm";
    QTest::newRow("folder with a separator") << "/opt/lumno/"
                                             << "/opt/lumno/help/help.htm";
    QTest::newRow("root") << "/"
                          << "/help/help.htm";
#ifdef Q_OS_WIN
    QTest::newRow("drive root") << "C:/"
                                << "C:\\help\\help.htm";
    QTest::newRow("drive root, backslash") << "C:\\"
                                           << "C:\\help\\help.htm";
    QTest::newRow("folder on a drive") << "C:/Users/li/AppData/Local/Programs/Lumno"
                                       << "C:\\Users\\li\\AppData\\Local\\Programs\\Lumno\\help\\help.htm";
    QTest::newRow("network share") << "//server/share/Lumno"
                                   << "\\\\server\\share\\Lumno\\help\\help.htm";
#endif
}

void tst_shell::helpPath() {
    QFETCH(QString, folder);
    QFETCH(QString, page);
    QCOMPARE(Frmhelp::helpPath(folder), QDir::toNativeSeparators(page));
}

void tst_shell::helpKeepsItsMargin() {
    Frmhelp help;
    for (QSize size : {QSize(800, 600), QSize(1017, 643), QSize(300, 200)}) {
        help.resize(size);
        help.show();
        const QRect r = help.findChild<QTextBrowser*>("WebBrowser1")->geometry();
        for (int margin : {r.left(), r.top(), size.width() - r.right() - 1, size.height() - r.bottom() - 1})
            QVERIFY2(qAbs(margin * 15 - 50) <= 15, qPrintable(QString::number(margin)));
    }
}

void tst_shell::missingHelpPageIsSaid() {
    frmmain m;
    m.show();
    m.findChild<QAction*>("help")->trigger();
    testkit::settle();
    auto* browser = m.child("Frmhelp")->findChild<QTextBrowser*>("WebBrowser1");
    QVERIFY(browser->toPlainText().startsWith("Lumno校务管理软件 V1.0 使用帮助"));
    QCOMPARE(browser->verticalScrollBar()->value(), 0); // opens at the top of the page
    QVERIFY(visibleChild(m, "Frmbg"));                  // help hides nothing
    // A section link of the contents list leads to its section.
    browser->setSource(QUrl("#clean"));
    QVERIFY(browser->verticalScrollBar()->value() > 0);
    // Without the page, the viewer says which file is missing.
    const QString folder = QCoreApplication::applicationDirPath() + "/help";
    QVERIFY(QDir().rename(folder, folder + ".away"));
    Frmhelp missing;
    const QString text = missing.findChild<QTextBrowser*>("WebBrowser1")->toPlainText();
    QDir().rename(folder + ".away", folder);
    QVERIFY(text.contains("找不到帮助文件"));
    QVERIFY(text.contains("help.htm"));
}

QTEST_MAIN(tst_shell)
#include "tst_shell.moc"
