// The login: who gets in, what a wrong attempt shows, and the keys that move through the window.
#include "testkit.h"

#include <shell/frmlogin.h>
#include <shell/frmmain.h>
#include <store/catalogue.h>
#include <store/database.h>

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

class tst_login : public QObject {
    Q_OBJECT
private slots:
    void matches_data();
    void matches();
    void successOpensTheMainWindow();
    void wrongPasswordWarnsOnce();
    void emptyUserTableWarns();
    void missingUserFileIsReported();
    void enterMovesFocusAndPressesOnlyTheButton();
    void escapeExits();
    void opensCentredOnTheScreen();

private:
    struct Attempt {
        frmLogin* login;
        QLineEdit* name;
        QLineEdit* password;
    };
    static Attempt open();
};

tst_login::Attempt tst_login::open() {
    auto* login = new frmLogin;
    login->show();
    return {login, login->findChild<QLineEdit*>("txtUserName"), login->findChild<QLineEdit*>("txtPassword")};
}

void tst_login::matches_data() {
    QTest::addColumn<QVector<QStringList>>("rows");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("ok");
    const QVector<QStringList> admin{{"admin", "admin"}};
    QTest::newRow("right") << admin << "admin"
                           << "admin" << true;
    QTest::newRow("wrong password") << admin << "admin"
                                    << "admim" << false;
    QTest::newRow("case differs") << admin << "Admin"
                                  << "admin" << false;
    // A character 256 code points away has the same low byte; it is still another character.
    QTest::newRow("same low byte") << admin << "admin" << QString("adm") + QChar(0x0169) + "n" << false;
    // Characters 1 + 23 and 12 + 3 run together into the same digits; they are other texts.
    QTest::newRow("digits run together") << QVector<QStringList>{{"u", QString(QChar(1)) + QChar(23)}} << "u"
                                         << QString(QChar(12)) + QChar(3) << false;
    QTest::newRow("first matching row wins after a wrong one")
        << QVector<QStringList>{{"admin", "x"}, {"admin", "admin"}} << "admin"
        << "admin" << true;
    QTest::newRow("empty matches empty") << QVector<QStringList>{{"", ""}} << ""
                                         << "" << true;
    QTest::newRow("empty matches nothing else") << admin << ""
                                                << "" << false;
    QTest::newRow("missing value never matches") << QVector<QStringList>{{QString(), QString()}} << ""
                                                 << "" << false;
}

void tst_login::matches() {
    QFETCH(QVector<QStringList>, rows);
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(bool, ok);
    QCOMPARE(frmLogin::matches(store::RecordSet({"u", "p"}, rows), name, password), ok);
}

void tst_login::successOpensTheMainWindow() {
    testkit::Folder folder;
    testkit::Messages messages;
    testkit::exec(store::kUserFile, "insert into tabel1 values (NULL, NULL)");
    auto a = open();
    QPointer<frmLogin> login = a.login;
    frmmain* opened = nullptr;
    connect(a.login, &frmLogin::mainWindowOpened, this, [&](frmmain* m) { opened = m; });
    a.name->setFocus();
    testkit::type(a.name, "admin");
    testkit::type(a.password, "admin");
    a.login->findChild<QPushButton*>("cmdok")->click();
    testkit::settle();
    QVERIFY(messages.all.isEmpty());
    QVERIFY(opened);
    QCOMPARE(opened->windowTitle(), frmmain::caption());
    QVERIFY(!login);
    delete opened;
}

void tst_login::wrongPasswordWarnsOnce() {
    testkit::Folder folder;
    testkit::Messages messages;
    testkit::exec(store::kUserFile, "insert into tabel1 values ('admin','other')");
    auto a = open();
    a.name->setText("admin");
    a.password->setText("wrong");
    a.login->findChild<QPushButton*>("cmdok")->click();
    QCOMPARE(messages.all.size(), 1);
    QCOMPARE(messages.all[0].text, QString("用户名或密码错误！"));
    QCOMPARE(messages.all[0].style, 48);
    QVERIFY(a.login->isVisible());
    QCOMPARE(a.name->text(), QString("admin"));
    QCOMPARE(a.password->text(), QString("wrong"));
    delete a.login;
}

void tst_login::emptyUserTableWarns() {
    testkit::Folder folder;
    testkit::Messages messages;
    testkit::exec(store::kUserFile, "delete from tabel1");
    auto a = open();
    a.login->findChild<QPushButton*>("cmdok")->click();
    QCOMPARE(messages.texts(), QStringList{"用户名或密码错误！"});
    // A row whose values are missing is no account with an empty name and password.
    testkit::exec(store::kUserFile, "insert into tabel1 values (NULL, NULL)");
    a.login->findChild<QPushButton*>("cmdok")->click();
    QCOMPARE(messages.all.size(), 2);
    QVERIFY(a.login->isVisible());
    delete a.login;
}

void tst_login::missingUserFileIsReported() {
    testkit::Folder folder;
    testkit::Messages messages;
    QFile::remove(store::kUserFile);
    auto a = open();
    a.name->setText("admin");
    a.password->setText("admin");
    a.login->findChild<QPushButton*>("cmdok")->click();
    QCOMPARE(messages.all.size(), 1);
    QVERIFY(messages.last().contains("uinfo.dat"));
    QVERIFY(messages.last().contains(QDir::toNativeSeparators(folder.path())));
#ifdef Q_OS_WIN
    QVERIFY(messages.last().contains("“开始”菜单"));
#else
    QVERIFY(messages.last().contains("启动命令 lumno"));
#endif
    QVERIFY(!QFile::exists(store::kUserFile));
    QVERIFY(a.login->isVisible());
    delete a.login;
}

void tst_login::enterMovesFocusAndPressesOnlyTheButton() {
    testkit::Folder folder;
    testkit::Messages messages;
    auto a = open();
    QApplication::setActiveWindow(a.login);
    a.name->setFocus();
    int opened = 0;
    connect(a.login, &frmLogin::mainWindowOpened, this, [&](frmmain* m) {
        ++opened;
        delete m;
    });
    testkit::type(a.name, "admin");
    testkit::key(a.name, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), a.password);
    testkit::type(a.password, "wrong");
    testkit::key(a.password, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("cmdok"));
    QVERIFY(messages.all.isEmpty()); // Enter in a box never logs in
    testkit::key(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(messages.texts(), QStringList{"用户名或密码错误！"});
    a.password->setText("admin");
    a.login->findChild<QPushButton*>("cmdok")->setFocus();
    testkit::key(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(opened, 1);
    testkit::settle();
}

void tst_login::escapeExits() {
    testkit::Folder folder;
    auto a = open();
    QApplication::setActiveWindow(a.login);
    a.name->setFocus();
    testkit::key(a.name, Qt::Key_Escape);
    QVERIFY(!a.login->isVisible());
    delete a.login;
}

void tst_login::opensCentredOnTheScreen() {
    testkit::Folder folder;
    auto a = open();
    const QPoint offset = a.login->geometry().center() - a.login->screen()->availableGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QString("%1, %2").arg(offset.x()).arg(offset.y())));
    delete a.login;
}

QTEST_MAIN(tst_login)
#include "tst_login.moc"
