// The main window, its menu and child windows, the launcher panel and the help viewer.
#include "testkit.h"

#include <books/frmaddlist.h>
#include <books/frmcahier.h>
#include <books/frmfind.h>
#include <books/frmnote.h>
#include <books/frmonduty.h>
#include <shell/frmbg.h>
#include <shell/frmhelp.h>
#include <shell/frmmain.h>
#include <store/catalogue.h>
#include <ui/notify.h>
#include <ui/translation.h>
#include <ui/twips.h>

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest>
#include <algorithm>

class tst_shell : public testkit::WindowTest {
    Q_OBJECT
private slots:
    void captionAndMenus();
    void startsWithTheLauncherAlone();
    void childWindowsExistOnce();
    void menuClosesMinutesAndEventsFirst();
    void unsavedInputIsAskedAbout_data();
    void unsavedInputIsAskedAbout();
    void qtTextsInChineseAndNoSystemMenuWithoutControlBox();
    void comboListsFitTheirFont();
    void launcherStaysCentred_data();
    void launcherStaysCentred();
    void entryNamesShareOneSizeAboveTheirLines();
    void hotSpotsUnderlineAndBorder();
    void hotSpotsOpenTheirBooks_data();
    void hotSpotsOpenTheirBooks();
    void dragOffOpensNothing();
    void designedFontsResolve_data();
    void designedFontsResolve();
    void helpPath_data();
    void helpPath();
    void helpKeepsItsMargin();
    void helpOpensFromTheMenu();
    void helpFollowsItsOwnFolderOnly_data();
    void helpFollowsItsOwnFolderOnly();
    void childWindowMovedPastAnEdgeIsPutBack_data();
    void childWindowMovedPastAnEdgeIsPutBack();
    void windowsStayReachable();
    void fixedWindowsScrollIntoReach_data();
    void fixedWindowsScrollIntoReach();
    void toolbarKeysPressTheirButtons_data();
    void toolbarKeysPressTheirButtons();
    void findRecordsOpensTheRecord_data();
    void findRecordsOpensTheRecord();

private:
    static QWidget* visibleChild(frmmain& m, WindowId window) {
        QWidget* w = m.child(window);
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
    QCOMPARE(items, QStringList({"findrecords:查找记录…", ":", "schooolinfo:学校信息设置", "cleancahier:会议记录清空",
                                 "cleannote:学校事历清空", "cleanaddlist:通讯录清空", "cleanteacher:教师考勤清空",
                                 "cleanonduty:值周安排清空", ":", "backupdata:备份数据…", "restoredata:恢复数据…",
                                 "recyclebin:回收站…", "opendatafolder:打开数据文件夹", "importdata:导入旧数据…",
                                 "changepwd:修改密码…", "usermanage:用户管理…", ":", "cascade:层叠窗口"}));
    QVERIFY(m.findChild<QAction*>("print")->isEnabled()); // opens the reports
}

void tst_shell::startsWithTheLauncherAlone() {
    frmmain m;
    m.show();
    QCOMPARE(m.area()->subWindowList().size(), 1);
    QVERIFY(visibleChild(m, WindowId::Frmbg));
    QVERIFY(m.area()->subWindowList().first()->isMaximized());
}

void tst_shell::childWindowsExistOnce() {
    frmmain m;
    m.show();
    m.findChild<QAction*>("cahier")->trigger();
    QWidget* first = m.child(WindowId::Frmcahier);
    m.findChild<QAction*>("note")->trigger();
    m.findChild<QAction*>("cahier")->trigger();
    QCOMPARE(m.child(WindowId::Frmcahier), first);
    QCOMPARE(m.area()->activeSubWindow()->widget(), first);
    int minutes = 0;
    for (QMdiSubWindow* s : m.area()->subWindowList()) minutes += s->widget()->objectName() == "Frmcahier";
    QCOMPARE(minutes, 1);
    QVERIFY(!visibleChild(m, WindowId::Frmbg)); // the books hide the launcher while they are open
    QVERIFY(m.area()->testOption(QMdiArea::DontMaximizeSubWindowOnActivation));
}

void tst_shell::menuClosesMinutesAndEventsFirst() {
    frmmain m;
    m.show();
    m.findChild<QAction*>("cahier")->trigger();
    m.findChild<QAction*>("note")->trigger();
    m.findChild<QAction*>("addlist")->trigger();
    testkit::settle();
    QVERIFY(!m.child(WindowId::Frmcahier) && !m.child(WindowId::Frmnote));
    QVERIFY(visibleChild(m, WindowId::Frmaddlist));
    m.findChild<QAction*>("cahier")->trigger();
    QVERIFY(visibleChild(m, WindowId::Frmaddlist) && visibleChild(m, WindowId::Frmcahier));
    m.findChild<QAction*>("onduty")->trigger();
    testkit::settle();
    QVERIFY(!m.child(WindowId::Frmcahier) && visibleChild(m, WindowId::Frmonduty));
    // A book's own back command unloads it and shows the launcher, filling the area as it is now.
    m.resize(m.width() + 210, m.height() + 130);
    testkit::clickTool(m.child(WindowId::Frmonduty), Frmonduty::Return);
    testkit::settle();
    QVERIFY(!m.child(WindowId::Frmonduty));
    QWidget* bg = visibleChild(m, WindowId::Frmbg);
    QVERIFY(bg);
    QCOMPARE(bg->parentWidget()->geometry(), m.area()->viewport()->rect());
    const QSize picture = bg->findChild<QWidget*>("Image1")->size();
    QVERIFY(picture.width() == bg->width() || picture.height() == bg->height());
    QCOMPARE(bg->findChild<QWidget*>("Frame1")->pos(),
             QPoint((bg->width() - picture.width()) / 2, (bg->height() - picture.height()) / 2));
}

// A menu command that unloads a window, 退出 and the close box give typed input up only when
// the person agrees; nothing is asked when nothing is unsaved.
void tst_shell::unsavedInputIsAskedAbout_data() {
    QTest::addColumn<QString>("window"); // the menu command that opens it
    QTest::addColumn<QString>("input");  // "add", "add typed", "edit", "edit changed"
    QTest::addColumn<QString>("leave");  // the menu command or "close"
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question"); // empty: none asked
    const QString minutes = "《会议记录》中输入的内容还没有保存。放弃这些内容吗？";
    const QString events = "《学校事历》中输入的内容还没有保存。放弃这些内容吗？";
    const QString teachers = "《教师通讯录》中输入的内容还没有保存。放弃这些内容吗？";
    const int ok = ui::kAnswerOk, cancel = ui::kAnswerCancel;
    QTest::newRow("nothing typed") << "cahier"
                                   << ""
                                   << "teacher" << ok << "";
    QTest::newRow("增加 alone") << "cahier"
                                << "add"
                                << "addlist" << ok << "";
    QTest::newRow("typed, menu, cancel") << "cahier"
                                         << "add typed"
                                         << "teacher" << cancel << minutes;
    QTest::newRow("typed, menu, Enter") << "note"
                                        << "add typed"
                                        << "onduty" << testkit::kEnter << events;
    QTest::newRow("typed, menu, OK") << "cahier"
                                     << "add typed"
                                     << "addlist" << ok << minutes;
    QTest::newRow("typed, 退出, cancel") << "note"
                                         << "add typed"
                                         << "exit" << cancel << events;
    QTest::newRow("typed, close box, cancel") << "cahier"
                                              << "add typed"
                                              << "close" << cancel << minutes;
    QTest::newRow("typed, close box, OK") << "cahier"
                                          << "add typed"
                                          << "close" << ok << minutes;
    QTest::newRow("address edit unchanged") << "addlist"
                                            << "edit"
                                            << "close" << ok << "";
    QTest::newRow("address edit, cancel") << "addlist"
                                          << "edit changed"
                                          << "exit" << cancel << teachers;
    QTest::newRow("address new entry, OK") << "addlist"
                                           << "add typed"
                                           << "close" << ok << teachers;
}

void tst_shell::unsavedInputIsAskedAbout() {
    QFETCH(QString, window);
    QFETCH(QString, input);
    QFETCH(QString, leave);
    QFETCH(int, answer);
    QFETCH(QString, question);
    testkit::exec(store::kRosterFile, "insert into tabaddlist values ('张伟','男','1','','','','','','')");
    frmmain m;
    m.show();
    m.findChild<QAction*>(window)->trigger();
    const WindowId name = window == "cahier" ? WindowId::Frmcahier
                          : window == "note" ? WindowId::Frmnote
                                             : WindowId::Frmaddlist;
    QWidget* w = m.child(name);
    const bool themes = name != WindowId::Frmaddlist;
    QWidget* box = w->findChild<QWidget*>(themes ? "txtcontent" : "txtmphone");
    if (input.startsWith("add")) testkit::clickTool(w, themes ? int(ThemeBook::Add) : int(Frmaddlist::Add));
    if (input.startsWith("edit")) testkit::clickTool(w, Frmaddlist::Edit);
    if (input.endsWith("typed") || input.endsWith("changed")) {
        box->setFocus();
        testkit::type(box, "9");
    }
    const QString typed =
        themes ? qobject_cast<QPlainTextEdit*>(box)->toPlainText() : qobject_cast<QLineEdit*>(box)->text();
    m_messages->answers = {answer};
    const bool closed = leave == "close" ? m.close() : (m.findChild<QAction*>(leave)->trigger(), true);
    testkit::settle();
    QCOMPARE(m_messages->texts(), question.isEmpty() ? QStringList() : QStringList{question});
    if (!question.isEmpty()) QCOMPARE(m_messages->all.first().style, ui::OkCancel | ui::DefaultCancel);
    const bool given = question.isEmpty() || answer == ui::kAnswerOk;
    if (leave == "close") QCOMPARE(closed, given);
    if (leave == "exit" || leave == "close" || !given || !themes) {
        QCOMPARE(m.child(name), w); // kept as it was, with what was typed
        const QString now =
            themes ? qobject_cast<QPlainTextEdit*>(box)->toPlainText() : qobject_cast<QLineEdit*>(box)->text();
        QCOMPARE(now, typed);
    } else {
        QVERIFY(!m.child(name));
    }
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
    for (WindowId name : {WindowId::Frmcahier, WindowId::Frmnote, WindowId::Frmaddlist, WindowId::Frmonduty,
                          WindowId::frmteacher, WindowId::Frmsystem, WindowId::Frmhelp})
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
        testkit::exec(store::kMinutesFile,
                      QString("insert into tabcahier values ('%1','','','','','','','','')").arg(theme));
    frmmain m;
    m.show();
    for (WindowId name : {WindowId::Frmcahier, WindowId::frmteacher}) {
        for (QComboBox* c : m.loadAndShow(name)->findChildren<QComboBox*>()) {
            if (!c->count()) continue;
            c->showPopup();
            QAbstractItemView* view = c->view();
            const int row = view->visualRect(view->model()->index(0, 0)).height();
            const int glyphs = QFontMetrics(c->font()).height();
            QVERIFY2(row >= glyphs + 6, qPrintable(QString("%1: %2 for %3").arg(c->objectName()).arg(row).arg(glyphs)));
            const int shown = qMin(c->count(), c->maxVisibleItems());
            QVERIFY2(view->viewport()->height() >= shown * row,
                     qPrintable(
                         QString("%1: %2 < %3").arg(c->objectName()).arg(view->viewport()->height()).arg(shown * row)));
            c->hidePopup();
        }
    }
}

// The panel's sizes: the designed one, and the area of a maximised main window on two screens.
static void panelSizes() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("design") << QSize(792, 534);
    QTest::newRow("large") << QSize(1280, 760);
    QTest::newRow("odd") << QSize(1001, 677);
    QTest::newRow("smaller than the picture") << QSize(600, 400);
    QTest::newRow("1920×1080 at 100 %") << QSize(1920, 1017);
    QTest::newRow("1366×768 at 150 %") << QSize(910, 470);
}

// The picture fills the panel one way, its proportions kept, centred the other way.
void tst_shell::launcherStaysCentred_data() { panelSizes(); }

void tst_shell::launcherStaysCentred() {
    QFETCH(QSize, size);
    Frmbg bg;
    bg.resize(size);
    bg.show();
    auto* frame = bg.findChild<QWidget*>("Frame1");
    auto* image = bg.findChild<QWidget*>("Image1");
    QVERIFY2(image->width() == size.width() || image->height() == size.height(),
             qPrintable(QString("%1×%2").arg(image->width()).arg(image->height())));
    QVERIFY(image->width() <= size.width() && image->height() <= size.height());
    QVERIFY(qAbs(image->width() * 530 - image->height() * 800) <= 800); // within a pixel of 800:530
    QCOMPARE(frame->size(), image->size());
    QCOMPARE(frame->pos(), QPoint((size.width() - image->width()) / 2, (size.height() - image->height()) / 2));
}

// The five names in the picture (twips of the designed picture), with the underline of each.
static const struct {
    double left, top, width, height, line;
    const char* name;
} kEntryNames[] = {{720, 1800, 2055, 735, 2400, "会议记录"},
                   {3840, 3120, 1935, 735, 3720, "学校事历"},
                   {1440, 5040, 2655, 735, 5640, "值周安排"},
                   {8040, 1800, 2415, 855, 2400, "教师通讯录"},
                   {8400, 5280, 2295, 735, 5880, "教师考勤"}};

// The five names in the picture: one size, each just above the underline of its label.
void tst_shell::entryNamesShareOneSizeAboveTheirLines() {
    Frmbg bg;
    const QImage picture = bg.findChild<QLabel*>("Image1")->pixmap().toImage();
    QVector<double> sizes; // the ink's width per character
    for (const auto& e : kEntryNames) {
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

// The entries open their books wherever the scaled picture shows their names.
void tst_shell::hotSpotsOpenTheirBooks_data() { panelSizes(); }

void tst_shell::hotSpotsOpenTheirBooks() {
    QFETCH(QSize, size);
    frmmain m;
    m.show();
    m.resize(m.size() + size - m.area()->viewport()->size());
    QTRY_COMPARE(m.area()->viewport()->size(), size);
    // The widget under the middle of entry n's name on the panel, as the person sees it.
    struct Spot {
        QWidget* widget;
        QPoint at;
    };
    const auto spot = [&m](int n) {
        QWidget* bg = m.child(WindowId::Frmbg);
        const auto* image = bg->findChild<QWidget*>("Image1");
        const double scale = image->width() / 800.0;
        const auto& e = kEntryNames[n - 1];
        const QPointF middle = ui::twipsRect(e.left, e.top, e.width, e.height).toRectF().center() * scale;
        const QPoint onPanel = image->mapTo(bg, middle.toPoint());
        QWidget* w = bg->childAt(onPanel);
        return Spot{w ? w : bg, (w ? w : bg)->mapFrom(bg, onPanel)};
    };
    // Label1 opens the minutes on a press of any button and unloads the panel (deleted after its handler).
    QWidget* bg = m.child(WindowId::Frmbg);
    QCOMPARE(bg->parentWidget()->size(), size);
    QTest::mousePress(spot(1).widget, Qt::RightButton, {}, spot(1).at);
    QVERIFY(visibleChild(m, WindowId::Frmcahier));
    QPointer<QWidget> old = bg;
    testkit::settle();
    QVERIFY(!old);
    testkit::clickTool(m.child(WindowId::Frmcahier), ThemeBook::Back);
    testkit::settle();
    bg = m.child(WindowId::Frmbg);
    QVERIFY(bg && bg->isVisible());
    for (int i = 1; i <= 5; ++i) QVERIFY(!bg->findChild<QWidget*>(QString("Line%1").arg(i))->isVisible());
    QTest::mousePress(spot(2).widget, Qt::MiddleButton, {}, spot(2).at);
    QVERIFY(visibleChild(m, WindowId::Frmnote));
    const struct {
        int entry;
        WindowId window;
    } clicks[] = {{3, WindowId::Frmonduty}, {4, WindowId::Frmaddlist}, {5, WindowId::frmteacher}};
    for (const auto& c : clicks) {
        QTest::mouseClick(spot(c.entry).widget, Qt::LeftButton, {}, spot(c.entry).at);
        QVERIFY2(visibleChild(m, c.window), qPrintable(QString("entry %1").arg(c.entry)));
        QVERIFY(!visibleChild(m, WindowId::Frmbg));
    }
}

void tst_shell::dragOffOpensNothing() {
    frmmain m;
    m.show();
    auto* label = m.child(WindowId::Frmbg)->findChild<QLabel*>("Label4");
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(label->width() + 40, 5));
    QVERIFY(!m.child(WindowId::Frmaddlist));
    QCOMPARE(label->frameShape(), QFrame::NoFrame);
    QTest::mouseClick(label, Qt::RightButton, {}, QPoint(5, 5)); // a click is the left button's
    QVERIFY(!m.child(WindowId::Frmaddlist));
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
    auto* browser = m.child(WindowId::Frmhelp)->findChild<QTextBrowser*>("WebBrowser1");
    QVERIFY(browser->toPlainText().startsWith("Lumno校务管理软件 V1.0 使用帮助"));
    QCOMPARE(browser->verticalScrollBar()->value(), 0); // opens at the top of the page
    QVERIFY(visibleChild(m, WindowId::Frmbg));          // help hides nothing
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
    auto* sub = qobject_cast<QMdiSubWindow*>(m.child(WindowId::Frmhelp)->parentWidget());
    QVERIFY(sub->isMaximized());
    sub->showNormal();
    QVERIFY(qAbs(browser->width() - ui::twips(7455)) <= 1 && qAbs(browser->height() - ui::twips(6255)) <= 1);
    sub->showMaximized();
    // A section link of the contents list leads to its section; a link out of the help folder
    // leads nowhere.
    emit browser->anchorClicked(QUrl("#clean"));
    QVERIFY(browser->verticalScrollBar()->value() > 0);
    const QUrl shown = browser->source();
    QCOMPARE(shown.fileName(), QString("help.htm"));
    for (const char* out : {"file:///etc/passwd", "http://example.org/", "../tst_shell"}) {
        emit browser->anchorClicked(QUrl(out));
        QCOMPARE(browser->source(), shown);
    }
    // Without the page, the viewer says which file is missing.
    const QString folder = QCoreApplication::applicationDirPath() + "/help";
    QVERIFY(QDir().rename(folder, folder + ".away"));
    Frmhelp missing;
    const QString text = missing.findChild<QTextBrowser*>("WebBrowser1")->toPlainText();
    QDir().rename(folder + ".away", folder);
    QVERIFY(text.contains("找不到帮助文件"));
    QVERIFY(text.contains("help.htm"));
}

// Which links the help viewer follows: pages in its folder, nothing outside it.
void tst_shell::helpFollowsItsOwnFolderOnly_data() {
    QTest::addColumn<QString>("link"); // in a folder holding help/a.htm, help/sub/b.htm, help2/c.htm, other/d.htm
    QTest::addColumn<bool>("followed");
    QTest::newRow("page") << "help/a.htm" << true;
    QTest::newRow("page in a subfolder") << "help/sub/b.htm" << true;
    QTest::newRow("page, with a section") << "help/a.htm#top" << true;
    QTest::newRow("the folder itself") << "help" << false;
    QTest::newRow("missing page") << "help/none.htm" << false;
    QTest::newRow("up and out") << "help/../other/d.htm" << false;
    QTest::newRow("folder of a longer name") << "help2/c.htm" << false;
    QTest::newRow("system file") << "file:///etc/passwd" << false;
    QTest::newRow("remote page") << "http://example.org/help/a.htm" << false;
#ifdef Q_OS_UNIX
    QTest::newRow("symbolic link out") << "help/link.htm" << false;
#endif
}

void tst_shell::helpFollowsItsOwnFolderOnly() {
    QFETCH(QString, link);
    QFETCH(bool, followed);
    QTemporaryDir dir;
    for (const char* f : {"help/a.htm", "help/sub/b.htm", "help2/c.htm", "other/d.htm"}) {
        QDir().mkpath(QFileInfo(dir.filePath(f)).path());
        QFile page(dir.filePath(f));
        QVERIFY(page.open(QIODevice::WriteOnly));
    }
    QFile::link(dir.filePath("other/d.htm"), dir.filePath("help/link.htm"));
    const QUrl url = link.contains(':') ? QUrl(link) : QUrl::fromLocalFile(dir.filePath(link.section('#', 0, 0)));
    QCOMPARE(Frmhelp::insideHelp(url, dir.filePath("help")), followed);
}

// A child window's title bar stays inside the area, the window whole inside when it fits.
void tst_shell::childWindowMovedPastAnEdgeIsPutBack_data() {
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QString>("expected"); // x and y: "right" is the area's width less the window's
    QTest::newRow("past the right and bottom") << QPoint(5000, 5000) << "right,bottom";
    QTest::newRow("above and left of the area") << QPoint(-300, -40) << "0,0";
    QTest::newRow("inside: stays") << QPoint(7, 9) << "7,9";
}

void tst_shell::childWindowMovedPastAnEdgeIsPutBack() {
    QFETCH(QPoint, to);
    QFETCH(QString, expected);
    frmmain m;
    m.resize(1100, 800);
    m.show();
    m.findChild<QAction*>("help")->trigger();
    auto* sub = qobject_cast<QMdiSubWindow*>(m.child(WindowId::Frmhelp)->parentWidget());
    sub->showNormal();
    sub->resize(400, 300);
    sub->move(to);
    const QSize area = m.area()->viewport()->size();
    const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
    const QStringList xy = expected.split(',');
    const int x = xy[0] == "right" ? area.width() - sub->width() : xy[0].toInt();
    const int y = xy[1] == "bottom" ? area.height() - title : xy[1].toInt();
    QCOMPARE(sub->pos(), QPoint(x, y));
    // Its menu item brings it whole into view.
    m.findChild<QAction*>("help")->trigger();
    QVERIFY(m.area()->viewport()->rect().contains(sub->geometry()));
}

void tst_shell::windowsStayReachable() {
    frmmain m;
    m.resize(500, 400);
    m.show();
    m.findChild<QAction*>("addlist")->trigger();
    testkit::settle();
    // Resized while the launcher is hidden, the launcher still fills the area when it comes back.
    m.resize(1000, 700);
    testkit::clickTool(m.child(WindowId::Frmaddlist), Frmaddlist::Exit);
    testkit::settle();
    QCOMPARE(m.child(WindowId::Frmbg)->parentWidget()->geometry(), m.area()->viewport()->rect());
    // Cascading leaves the launcher as the panel behind the windows.
    m.findChild<QAction*>("help")->trigger();
    m.findChild<QAction*>("findrecords")->trigger();
    m.findChild<QAction*>("cascade")->trigger();
    auto* launcher = qobject_cast<QMdiSubWindow*>(m.child(WindowId::Frmbg)->parentWidget());
    QVERIFY(launcher->isMaximized() && launcher->isVisible());
    QCOMPARE(m.area()->subWindowList(QMdiArea::StackingOrder).first(), launcher);
    QVERIFY(m.child(WindowId::Frmhelp)->parentWidget()->pos() != m.child(WindowId::Frmfind)->parentWidget()->pos());
}

// A fixed window larger than the area (150 % on a 1366×768 screen) scrolls: the scroll bars reach
// each of its edges, and every control the keyboard reaches comes into view. A maximised window
// (the reports) fits the area instead. No text of any of them is cut short.
void tst_shell::fixedWindowsScrollIntoReach_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<WindowId>("window");
    QTest::addColumn<QSize>("area");
    const QSize small(910, 470), large(1920, 1017);
    QTest::newRow("address book, small screen") << "addlist" << WindowId::Frmaddlist << small;
    QTest::newRow("attendance, small screen") << "teacher" << WindowId::frmteacher << small;
    QTest::newRow("rota, small screen") << "onduty" << WindowId::Frmonduty << small;
    QTest::newRow("school details, small screen") << "schooolinfo" << WindowId::Frmsystem << small;
    QTest::newRow("attendance, too narrow and too low") << "teacher" << WindowId::frmteacher << QSize(600, 400);
    QTest::newRow("attendance, large screen: no scroll bars") << "teacher" << WindowId::frmteacher << large;
    QTest::newRow("reports, small screen: fits, nothing cut short") << "print" << WindowId::Frmreport << small;
    QTest::newRow("reports, large screen") << "print" << WindowId::Frmreport << large;
}

void tst_shell::fixedWindowsScrollIntoReach() {
    QFETCH(QString, menu);
    QFETCH(WindowId, window);
    QFETCH(QSize, area);
    frmmain m;
    m.show();
    m.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m));
    m.resize(m.size() + area - m.area()->viewport()->size());
    QTRY_COMPARE(m.area()->viewport()->size(), area);
    m.findChild<QAction*>(menu)->trigger();
    testkit::settle();
    QWidget* form = m.child(window);
    auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    QWidget* viewport = m.area()->viewport();
    QScrollBar* h = m.area()->horizontalScrollBar();
    QScrollBar* v = m.area()->verticalScrollBar();
    QTRY_COMPARE(h->isVisible(), sub->width() > viewport->width());
    QTRY_COMPARE(v->isVisible(), sub->height() > viewport->height());
    const auto shown = [viewport](QWidget* w) { return QRect(w->mapTo(viewport, QPoint(0, 0)), w->size()); };
    // The scroll bars at their ends show the window's corners, also after the main window was
    // resized while the window was scrolled.
    const auto cornersInReach = [&] {
        h->setValue(h->minimum());
        v->setValue(v->minimum());
        QVERIFY(viewport->rect().contains(shown(sub).topLeft()));
        // no gap above or left of a window larger than the area
        if (sub->height() > viewport->height()) QCOMPARE(shown(sub).y(), 0);
        if (sub->width() > viewport->width()) QCOMPARE(shown(sub).x(), 0);
        h->setValue(h->maximum());
        v->setValue(v->maximum());
        QVERIFY2(viewport->rect().contains(shown(sub).bottomRight()),
                 qPrintable(QString("window at %1,%2").arg(shown(sub).x()).arg(shown(sub).y())));
    };
    cornersInReach();
    m.resize(m.width() + 10, m.height() + 10);
    testkit::settle();
    cornersInReach();
    if (QTest::currentTestFailed()) return;
    // No text is cut short: each button as wide as its text needs, each list's items whole.
    for (QPushButton* b : form->findChildren<QPushButton*>())
        if (b->isVisible())
            QVERIFY2(b->width() >= b->sizeHint().width(),
                     qPrintable(QString("%1: %2 < %3").arg(b->text()).arg(b->width()).arg(b->sizeHint().width())));
    for (QListWidget* l : form->findChildren<QListWidget*>())
        if (l->isVisible()) QVERIFY2(l->sizeHintForColumn(0) <= l->viewport()->width(), qPrintable(l->objectName()));
    // Tabbing through the window brings each control into view, from wherever it was scrolled.
    h->setValue(h->minimum());
    v->setValue(v->minimum());
    QList<QWidget*> controls;
    for (QWidget* w : form->findChildren<QWidget*>())
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()) controls << w;
    QVERIFY(!controls.isEmpty());
    for (QWidget* c : controls) {
        if (c->hasFocus()) c->clearFocus(); // the focus comes to it, as from another control
        c->setFocus(Qt::TabFocusReason);
        QVERIFY(c->hasFocus());
        const QRect r = shown(c);
        const QRect part(r.topLeft(), r.size().boundedTo(viewport->size()));
        QVERIFY2(viewport->rect().contains(part),
                 qPrintable(QString("%1 at %2,%3").arg(c->objectName()).arg(r.x()).arg(r.y())));
    }
}

// Every toolbar button has a key, shown in its tooltip, that presses it wherever the focus is in
// its window; Ctrl+F is a book's own 查寻 where it has one, the search of every book elsewhere.
void tst_shell::toolbarKeysPressTheirButtons_data() {
    QTest::addColumn<QString>("menu"); // the menu command that opens the window
    QTest::addColumn<WindowId>("window");
    QTest::addColumn<QString>("focus"); // the control with the focus
    QTest::addColumn<int>("button");    // 0: no button of the window has this key
    QTest::addColumn<QKeySequence>("key");
    QTest::newRow("address book: add") << "addlist" << WindowId::Frmaddlist << "txtname" << 1 << QKeySequence("Ctrl+N");
    QTest::newRow("address book: query from a box")
        << "addlist" << WindowId::Frmaddlist << "txtphone" << 4 << QKeySequence("Ctrl+F");
    QTest::newRow("address book: next") << "addlist" << WindowId::Frmaddlist << "txtremark" << 8
                                        << QKeySequence("Alt+PgDown");
    QTest::newRow("address book: exit") << "addlist" << WindowId::Frmaddlist << "txtname" << 10 << QKeySequence("Esc");
    QTest::newRow("minutes: add") << "cahier" << WindowId::Frmcahier << "txtcontent" << 2 << QKeySequence("Ctrl+N");
    QTest::newRow("events: back") << "note" << WindowId::Frmnote << "txtcontent" << 8 << QKeySequence("Esc");
    QTest::newRow("attendance: query") << "teacher" << WindowId::frmteacher << "txtdate" << 3 << QKeySequence("Ctrl+F");
    QTest::newRow("attendance: save") << "teacher" << WindowId::frmteacher << "txtcount" << 2 << QKeySequence("Ctrl+S");
    QTest::newRow("rota: modify") << "onduty" << WindowId::Frmonduty << "DBGrid1" << 2 << QKeySequence("Ctrl+E");
    QTest::newRow("rota: back") << "onduty" << WindowId::Frmonduty << "DBGrid1" << 4 << QKeySequence("Ctrl+W");
    QTest::newRow("rota: Esc cancels an edit, never leaves")
        << "onduty" << WindowId::Frmonduty << "DBGrid1" << 0 << QKeySequence("Esc");
}

void tst_shell::toolbarKeysPressTheirButtons() {
    QFETCH(QString, menu);
    QFETCH(WindowId, window);
    QFETCH(QString, focus);
    QFETCH(int, button);
    QFETCH(QKeySequence, key);
    testkit::exec(store::kRosterFile, "insert into tabaddlist (name, sex) values ('张伟', '男'), ('李娜', '女')");
    frmmain m;
    m.show();
    QApplication::setActiveWindow(&m);
    m.findChild<QAction*>(menu)->trigger();
    QPointer<QWidget> form = m.child(window);
    auto* bar = form->findChild<QToolBar*>("Toolbar1");
    for (QAction* a : bar->actions())
        QVERIFY2(a->isSeparator() || (a->toolTip().contains(a->shortcut().toString(QKeySequence::NativeText)) &&
                                      !a->shortcut().isEmpty()),
                 qPrintable(a->text()));
    QList<QSignalSpy*> spies;
    for (QAction* a : bar->actions()) spies << new QSignalSpy(a, &QAction::triggered);
    QWidget* target = form->findChild<QWidget*>(focus);
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);
    QTest::keySequence(target, key);
    testkit::settle();
    for (int i = 0; i < spies.size(); ++i) QCOMPARE(spies[i]->count(), i + 1 == button ? 1 : 0);
    qDeleteAll(spies);
    QVERIFY(!m.child(WindowId::Frmfind)); // Ctrl+F inside a book is its own 查寻
}

// Any piece of text in any column of any book, found as the person types and opened where it lives.
void tst_shell::findRecordsOpensTheRecord_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("count"); // records of that table listed
    QTest::addColumn<WindowId>("window");
    QTest::addColumn<QString>("control"); // what shows the opened record
    QTest::addColumn<QString>("shows");   // its text, or a grid's selected row joined by '|'
    QTest::addColumn<bool>("mouse");      // opened by a double-click (else by Enter)
    QTest::newRow("two-character name") << "张伟"
                                        << "tabaddlist" << 1 << WindowId::Frmaddlist << "txtname"
                                        << "张伟" << false;
    QTest::newRow("name with a blank typed after it") << "张伟 "
                                                      << "tabkaoqin" << 2 << WindowId::frmteacher << "DBGrid1"
                                                      << "3-2-2026|星期一|张伟|事假|数学|2|3" << true;
    QTest::newRow("word in minutes content") << "校园安全"
                                             << "tabcahier" << 1 << WindowId::Frmcahier << "txtcontent"
                                             << "本周讨论校园安全和放学路队。" << false;
    QTest::newRow("event remark") << "操场"
                                  << "tabnote" << 1 << WindowId::Frmnote << "Combo1"
                                  << "运动会" << true;
    QTest::newRow("rota cell") << "王芳"
                               << "tabonduty" << 1 << WindowId::Frmonduty << "DBGrid1"
                               << "第3周|王芳|雨天改室内" << false;
    QTest::newRow("apostrophe") << "O'Neil"
                                << "tabaddlist" << 1 << WindowId::Frmaddlist << "txtname"
                                << "O'Neil" << true;
}

void tst_shell::findRecordsOpensTheRecord() {
    QFETCH(QString, text);
    QFETCH(QString, table);
    QFETCH(int, count);
    QFETCH(WindowId, window);
    QFETCH(QString, control);
    QFETCH(QString, shows);
    QFETCH(bool, mouse);
    testkit::exec(store::kRosterFile,
                  "insert into tabaddlist (name, sex, remark) values ('张三', '男', '无'), "
                  "('张伟', '男', '无'), ('李伟明', '男', '张老师的同事'), ('O''Neil', '男', '外教')");
    testkit::exec(store::kRosterFile, "insert into tabonduty values ('第2周', '李伟明', '无'), "
                                      "('第3周', '王芳', '雨天改室内'), ('第4周', '张三', '无')");
    testkit::exec(store::kMinutesFile,
                  "insert into tabcahier values ('教师例会', '周一', '会议室', '王芳', '全体', '无', '无', '无', "
                  "'布置期末考试。'), ('安全会议', '周三', '会议室', '王芳', '全体', '无', '无', '无', "
                  "'本周讨论校园安全和放学路队。')");
    testkit::exec(store::kEventsFile, "insert into tabnote values ('开学典礼', '9月1日', '李伟明', '礼堂', '开学'), "
                                      "('运动会', '10月', '王芳', '在操场举行', '全校参加')");
    testkit::exec(store::kAttendanceFile, "insert into tabkaoqin values ('3-1-2026', '星期日', '张三', '病假', "
                                          "'语文', '1', '1'), ('3-2-2026', '星期一', '张伟', '事假', '数学', '2', "
                                          "'3'), ('3-3-2026', '星期二', '张伟', '病假', '语文', '1', '2')");
    frmmain m;
    m.show();
    QApplication::setActiveWindow(&m);
    QTest::keyClick(&m, Qt::Key_F, Qt::ControlModifier); // Ctrl+F over the launcher opens the search
    auto* find = qobject_cast<Frmfind*>(m.child(WindowId::Frmfind));
    QVERIFY(find);
    auto* box = find->findChild<QLineEdit*>("txtfind");
    QVERIFY(box->hasFocus());
    testkit::type(box, text);
    auto* list = find->findChild<QListWidget*>("lstfound");
    QTRY_VERIFY(list->count() > 0); // after the pause, without Enter
    QTRY_VERIFY(!find->searching());
    QList<QListWidgetItem*> items;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Frmfind::TableRole).toString() == table) items << list->item(i);
    QCOMPARE(items.size(), count);
    QVERIFY2(items.first()->text().contains(text.trimmed()), qPrintable(items.first()->text()));
    list->setFocus();
    list->scrollToItem(items.first());
    if (mouse) {
        // A real double-click: a press and release, then the double-click of the second press.
        const QPoint at = list->visualItemRect(items.first()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    } else {
        list->setCurrentItem(items.first());
        testkit::key(list, Qt::Key_Return);
    }
    testkit::settle();
    QWidget* opened = visibleChild(m, window);
    QVERIFY(opened);
    QCOMPARE(m.area()->activeSubWindow()->widget(), opened);
    QWidget* w = opened->findChild<QWidget*>(control);
    QString shown;
    if (auto* e = qobject_cast<QLineEdit*>(w)) shown = e->text();
    if (auto* c = qobject_cast<QComboBox*>(w)) shown = c->currentText();
    if (auto* t = qobject_cast<QPlainTextEdit*>(w)) shown = t->toPlainText();
    if (auto* g = qobject_cast<QTableView*>(w)) {
        const QModelIndexList rows = g->selectionModel()->selectedRows();
        QCOMPARE(rows.size(), 1);
        QStringList cells;
        for (int c = 0; c < g->model()->columnCount(); ++c)
            cells << g->model()->index(rows[0].row(), c).data().toString();
        shown = cells.join('|');
    }
    QCOMPARE(shown, shows);
    QVERIFY(m_messages->all.isEmpty());
}

QTEST_MAIN(tst_shell)
#include "tst_shell.moc"
