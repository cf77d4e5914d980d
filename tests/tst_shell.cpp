// The main window, its menu and child windows, the launcher panel and the help viewer.
#include "testkit.h"

#include <books/frmcahier.h>
#include <books/frmnote.h>
#include <books/frmonduty.h>
#include <shell/frmbg.h>
#include <shell/frmhelp.h>
#include <shell/frmmain.h>
#include <store/catalogue.h>
#include <ui/translation.h>
#include <ui/twips.h>

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QtTest>
#include <algorithm>

class tst_shell : public testkit::WindowTest {
    Q_OBJECT
private slots:
    void captionAndMenus();
    void startsWithTheLauncherAlone();
    void childWindowsExistOnce();
    void menuClosesMinutesAndEventsFirst();
    void qtTextsInChineseAndNoSystemMenuWithoutControlBox();
    void comboListsFitTheirFont();
    void launcherStaysCentred_data();
    void launcherStaysCentred();
    void entryNamesShareOneSizeAboveTheirLines();
    void hotSpotsUnderlineAndBorder();
    void hotSpotsOpenTheirBooks();
    void dragOffOpensNothing();
    void designedFontsResolve_data();
    void designedFontsResolve();
    void helpPath_data();
    void helpPath();
    void helpKeepsItsMargin();
    void helpOpensFromTheMenu();

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
                                 "cleanaddlist:通讯录清空", "cleanteacher:教师考勤清空", "cleanonduty:值周安排清空",
                                 ":", "backupdata:备份数据…", "restoredata:恢复数据…", "importdata:导入旧数据…"}));
    QVERIFY(m.findChild<QAction*>("print")->isEnabled()); // opens the reports
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
    // A book's own back command unloads it and shows the launcher, filling the area as it is now.
    m.resize(m.width() + 210, m.height() + 130);
    testkit::clickTool(m.child("Frmonduty"), Frmonduty::Return);
    testkit::settle();
    QVERIFY(!m.child("Frmonduty"));
    QWidget* bg = visibleChild(m, "Frmbg");
    QVERIFY(bg);
    QCOMPARE(bg->parentWidget()->geometry(), m.area()->viewport()->rect());
    QCOMPARE(bg->findChild<QWidget*>("Frame1")->pos(), QPoint((bg->width() - 800) / 2, (bg->height() - 530) / 2));
}

// Qt's own menus speak Chinese; windows without a control box have no system menu to open.
void tst_shell::qtTextsInChineseAndNoSystemMenuWithoutControlBox() {
    QVERIFY(ui::installQtTranslation());
    QLineEdit box;
    QScopedPointer<QMenu> context(box.createStandardContextMenu());
    QStringList texts;
    for (QAction* a : context->actions()) texts << a->text();
    QVERIFY2(texts.join(' ').contains("复制") && texts.join(' ').contains("粘贴"), qPrintable(texts.join(' ')));
    frmmain m;
    m.show();
    for (const char* name : {"Frmcahier", "Frmnote", "Frmaddlist", "Frmonduty", "frmteacher", "Frmsystem", "Frmhelp"})
        m.loadAndShow(name);
    for (QMdiSubWindow* sub : m.area()->subWindowList()) {
        const QString name = sub->widget()->objectName();
        if (name != "Frmhelp") {
            QVERIFY2(!sub->systemMenu(), qPrintable(name));
            continue;
        }
        texts.clear();
        for (QAction* a : sub->systemMenu()->actions()) texts << a->text();
        QVERIFY2(texts.join(' ').contains("关闭") && texts.join(' ').contains("移动"), qPrintable(texts.join(' ')));
    }
}

// The drop-down lists leave room between their entries and show their last visible entry whole.
void tst_shell::comboListsFitTheirFont() {
    for (const char* theme : {"周例会", "教研会", "家长会"})
        testkit::exec(store::kMinutesFile, QString("insert into tabcahier values ('%1','','','','','','','','')").arg(theme));
    frmmain m;
    m.show();
    for (const char* name : {"Frmcahier", "frmteacher"}) {
        for (QComboBox* c : m.loadAndShow(name)->findChildren<QComboBox*>()) {
            if (!c->count()) continue;
            c->showPopup();
            QAbstractItemView* view = c->view();
            const int row = view->visualRect(view->model()->index(0, 0)).height();
            const int glyphs = QFontMetrics(c->font()).height();
            QVERIFY2(row >= glyphs + 6, qPrintable(QString("%1: %2 for %3").arg(c->objectName()).arg(row).arg(glyphs)));
            const int shown = qMin(c->count(), c->maxVisibleItems());
            QVERIFY2(view->viewport()->height() >= shown * row,
                     qPrintable(QString("%1: %2 < %3").arg(c->objectName()).arg(view->viewport()->height()).arg(shown * row)));
            c->hidePopup();
        }
    }
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

// The five names in the picture: one size, each just above the underline of its label.
void tst_shell::entryNamesShareOneSizeAboveTheirLines() {
    Frmbg bg;
    const QImage picture = bg.findChild<QLabel*>("Image1")->pixmap().toImage();
    const struct {
        double left, top, width, height, line;
        const char* name;
    } entries[] = {{720, 1800, 2055, 735, 2400, "会议记录"},
                   {3840, 3120, 1935, 735, 3720, "学校事历"},
                   {1440, 5040, 2655, 735, 5640, "值周安排"},
                   {8040, 1800, 2415, 855, 2400, "教师通讯录"},
                   {8400, 5280, 2295, 735, 5880, "教师考勤"}};
    QVector<double> sizes; // the ink's width per character
    for (const auto& e : entries) {
        const QRect label = ui::twipsRect(e.left, e.top, e.width, e.height);
        QRect ink;
        for (int y = label.top(); y <= label.bottom(); ++y)
            for (int x = label.left(); x <= label.right(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                if (c.blue() - c.red() > 60 && c.red() < 90 && c.green() < 100) ink |= QRect(x, y, 1, 1);
            }
        const int line = ui::twips(e.line);
        QVERIFY2(!ink.isEmpty() && ink.bottom() < line - 1 && ink.bottom() >= line - 10,
                 qPrintable(QString("ink %1..%2, line %3").arg(ink.top()).arg(ink.bottom()).arg(line)));
        sizes << double(ink.width()) / QString::fromUtf8(e.name).size();
    }
    const auto [low, high] = std::minmax_element(sizes.begin(), sizes.end());
    QVERIFY2(*high - *low <= 2, qPrintable(QString("%1 to %2 pixels a character").arg(*low).arg(*high)));
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
    // Label1 opens the minutes on a press of any button and unloads the panel (deleted after its handler).
    QTest::mousePress(bg->findChild<QLabel*>("Label1"), Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(visibleChild(m, "Frmcahier"));
    QPointer<QWidget> old = bg;
    testkit::settle();
    QVERIFY(!old);
    testkit::clickTool(m.child("Frmcahier"), ThemeBook::Back);
    testkit::settle();
    bg = m.child("Frmbg");
    QVERIFY(bg && bg->isVisible());
    for (int i = 1; i <= 5; ++i) QVERIFY(!bg->findChild<QWidget*>(QString("Line%1").arg(i))->isVisible());
    QTest::mousePress(bg->findChild<QLabel*>("Label2"), Qt::MiddleButton, {}, QPoint(5, 5));
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
    QTest::mouseClick(label, Qt::RightButton, {}, QPoint(5, 5)); // a click is the left button's
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

void tst_shell::helpOpensFromTheMenu() {
    frmmain m;
    m.show();
    m.findChild<QAction*>("help")->trigger();
    testkit::settle();
    auto* browser = m.child("Frmhelp")->findChild<QTextBrowser*>("WebBrowser1");
    QVERIFY(browser->toPlainText().startsWith("Lumno校务管理软件 V1.0 使用帮助"));
    QCOMPARE(browser->verticalScrollBar()->value(), 0); // opens at the top of the page
    QVERIFY(visibleChild(m, "Frmbg"));                  // help hides nothing
    // Chinese clauses run on without blanks, also where the page's source breaks a line; the
    // captions it quotes read as on the buttons ("登　录", "返 回").
    QString page = browser->toPlainText();
    QVERIFY(page.contains("“登　录”") && page.contains("“修　改”") && page.contains("“返 回”"));
    page.remove(QRegularExpression("“[^”]*”"));
    const QString chinese = "[\\x{3001}-\\x{303f}\\x{4e00}-\\x{9fff}\\x{ff01}-\\x{ffef}]";
    QStringList blanks;
    for (auto it = QRegularExpression(chinese + " +" + chinese).globalMatch(page); it.hasNext();)
        blanks << it.next().captured();
    QVERIFY2(blanks.isEmpty(), qPrintable(blanks.join(" | ")));
    // Restored from maximised, the window has its designed size: the browser at 7455 x 6255 twips.
    auto* sub = qobject_cast<QMdiSubWindow*>(m.child("Frmhelp")->parentWidget());
    QVERIFY(sub->isMaximized());
    sub->showNormal();
    QVERIFY(qAbs(browser->width() - ui::twips(7455)) <= 1 && qAbs(browser->height() - ui::twips(6255)) <= 1);
    sub->showMaximized();
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
