// The login: who gets in, what a wrong attempt shows, and the keys that move through the window.
#include "testkit.h"

#include <admin/frmpassword.h>
#include <shell/frmlogin.h>
#include <shell/frmmain.h>
#include <store/accounts.h>
#include <store/catalogue.h>
#include <store/database.h>
#include <store/statements.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QtTest>

class tst_login : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { store::setHashCost(testkit::cheapHash()); }
    void matches_data();
    void matches();
    void successOpensTheMainWindow();
    void plainPasswordIsHashedOnce_data();
    void plainPasswordIsHashedOnce();
    void failuresLockTheLoginForAWhile_data();
    void failuresLockTheLoginForAWhile();
    void passwordEqualToNameAsksForANewOne_data();
    void passwordEqualToNameAsksForANewOne();
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
    // Types name and password and presses OK; returns the main window opened, if any.
    static frmmain* logIn(Attempt& a, const QString& name, const QString& password);
};

frmmain* tst_login::logIn(Attempt& a, const QString& name, const QString& password) {
    frmmain* opened = nullptr;
    auto c = connect(a.login, &frmLogin::mainWindowOpened, [&](frmmain* m) { opened = m; });
    a.name->setText(name);
    a.password->setText(password);
    a.login->findChild<QPushButton*>("cmdok")->click();
    disconnect(c);
    return opened;
}

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
    const QString hash = store::hashPassword("秘密 pass'1");
    QTest::newRow("hash verified") << QVector<QStringList>{{"张老师", hash}} << "张老师"
                                   << "秘密 pass'1" << true;
    QTest::newRow("hash, wrong password") << QVector<QStringList>{{"张老师", hash}} << "张老师"
                                          << "秘密 pass'2" << false;
    QTest::newRow("hash, other name") << QVector<QStringList>{{"张老师", hash}} << "李老师"
                                      << "秘密 pass'1" << false;
    QTest::newRow("the hash typed is no password") << QVector<QStringList>{{"u", hash}} << "u" << hash << false;
    QTest::newRow("damaged hash") << QVector<QStringList>{{"u", hash.left(hash.size() - 3)}} << "u"
                                  << "秘密 pass'1" << false;
    QTest::newRow("hash asking for gigabytes")
        << QVector<QStringList>{{"u", QString(hash).replace(QRegularExpression("m=\\d+"), "m=999999999")}} << "u"
        << "秘密 pass'1" << false;
    QTest::newRow("hash of a foreign kind") << QVector<QStringList>{{"u", "$argon2i$v=19$m=8,t=1,p=1$AAAA$AAAA"}} << "u"
                                            << "x" << false;
    QTest::newRow("over-long hash text") << QVector<QStringList>{{"u", hash + QString(200, 'A')}} << "u"
                                         << "秘密 pass'1" << false;
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

// The first login of a password kept as typed replaces it by its hash; later logins verify the
// hash and leave it as it is, and the old text is no longer enough to pass the check.
void tst_login::plainPasswordIsHashedOnce_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::newRow("factory account") << "admin"
                                     << "admin";
    QTest::newRow("Chinese, apostrophe") << "王'老师"
                                         << "密码'123";
    QTest::newRow("astral character") << "u" << QString::fromUtf8("\xF0\x9F\x8D\x8E pw");
}

void tst_login::plainPasswordIsHashedOnce() {
    QFETCH(QString, name);
    QFETCH(QString, password);
    testkit::Folder folder;
    testkit::Messages messages;
    testkit::exec(store::kUserFile, "delete from tabel1");
    testkit::exec(store::kUserFile, "insert into tabel1 values (" + store::SqlQuote(name) + "," +
                                        store::SqlQuote(password) + "), ('other', 'secret')");
    auto stored = [&] { return testkit::rows(store::kUserFile, "select password from tabel1 order by rowid"); };
    auto a = open();
    QVERIFY(!logIn(a, name, password + " "));
    QCOMPARE(stored()[0][0], password); // a failed attempt writes nothing
    frmmain* first = logIn(a, name, password);
    QVERIFY(first);
    delete first;
    const QString hash = stored()[0][0];
    QVERIFY2(hash.startsWith("$argon2id$v=19$"), qPrintable(hash));
    QVERIFY(store::passwordMatches(hash, password));
    QCOMPARE(stored()[1][0], QString("secret")); // only the row that logged in
    testkit::settle();
    for (const QString& wrong : {password.toUpper() + "x", QString(), hash, password.left(password.size() - 1)}) {
        auto b = open();
        QVERIFY2(!logIn(b, name, wrong), qPrintable(wrong));
        delete b.login;
    }
    auto c = open();
    frmmain* again = logIn(c, name, password);
    QVERIFY(again);
    delete again;
    testkit::settle();
    QCOMPARE(stored()[0][0], hash); // hashed once
    QCOMPARE(messages.texts(), QStringList(5, "用户名或密码错误！"));
}

// Five failures in a row lock the login for 30 s, each further five for twice as long, up to
// 15 minutes; even the right password waits. Time passes on the test's own clock.
void tst_login::failuresLockTheLoginForAWhile_data() {
    QTest::addColumn<int>("failures");
    QTest::addColumn<int>("seconds"); // the wait after them; 0: none
    QTest::newRow("four") << 4 << 0;
    QTest::newRow("five") << 5 << 30;
    QTest::newRow("nine") << 9 << 0;
    QTest::newRow("ten") << 10 << 60;
    QTest::newRow("fifteen") << 15 << 120;
    QTest::newRow("thirty") << 30 << 900;
    QTest::newRow("a hundred") << 100 << 900;
}

void tst_login::failuresLockTheLoginForAWhile() {
    QFETCH(int, failures);
    QFETCH(int, seconds);
    testkit::Folder folder;
    testkit::Messages messages;
    qint64 now = 1000;
    LoginGuard::setClock([&] { return now; });
    auto a = open();
    for (int i = 1; i <= failures; ++i) {
        QVERIFY(!logIn(a, "admin", "guess"));
        QCOMPARE(messages.last(), QString("用户名或密码错误！"));
        if (i < failures) now += 15 * 60 * 1000; // past any wait
    }
    const QString locked = QString("登录失败的次数太多，请 %1 秒后再试。");
    messages.clear();
    if (seconds) {
        now += 1;
        QVERIFY(!logIn(a, "admin", "admin"));
        QCOMPARE(messages.texts(), QStringList{locked.arg(seconds)});
        now += seconds * 1000 - 2;
        QVERIFY(!logIn(a, "admin", "admin"));
        QCOMPARE(messages.last(), locked.arg(1));
        now += 1;
    }
    messages.clear();
    frmmain* main = logIn(a, "admin", "admin");
    QVERIFY(main);
    delete main;
    testkit::settle();
    LoginGuard::setClock({});
}

// A password equal to its name (admin / admin as delivered) opens the password dialog over the
// main window, with the reason; Cancel lets the person work, and the next login asks again.
void tst_login::passwordEqualToNameAsksForANewOne_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("asked");
    QTest::newRow("factory account") << "admin"
                                     << "admin" << true;
    QTest::newRow("hashed already") << "李老师"
                                    << "李老师" << true;
    QTest::newRow("own password") << "teacher"
                                  << "t-2026!x" << false;
}

void tst_login::passwordEqualToNameAsksForANewOne() {
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(bool, asked);
    testkit::Folder folder;
    testkit::Messages messages;
    testkit::exec(store::kUserFile, "insert into tabel1 values ('teacher', 't-2026!x'), ('李老师', '" +
                                        store::hashPassword("李老师") + "')");
    for (int login = 1; login <= 2; ++login) {
        auto a = open();
        frmmain* main = logIn(a, name, password);
        QVERIFY(main);
        QCOMPARE(messages.passwordDialogs.size(), asked ? login - 1 : 0); // over the main window, once it shows
        testkit::settle();
        QCOMPARE(messages.passwordDialogs.size(), asked ? login : 0);
        if (asked) QCOMPARE(messages.passwordDialogs.last(), admin::factoryPasswordReason());
        QVERIFY(main->isVisible());
        delete main;
    }
    QVERIFY(messages.all.isEmpty());
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
