// Values that break careless programs, saved through every window and read back exactly:
// on screen, through the window's own search or pick, and in the file.
#include "testkit.h"

#include <admin/frmsystem.h>
#include <books/frmaddlist.h>
#include <books/frmcahier.h>
#include <books/frmnote.h>
#include <books/frmonduty.h>
#include <books/frmteacher.h>
#include <shell/frmmain.h>
#include <store/catalogue.h>
#include <ui/recordsetmodel.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

// name, value, whether it holds line breaks (multi-line boxes only)
void corpus(bool withLineBreaks) {
    QTest::addColumn<QString>("value");
    const QList<QPair<const char*, QString>> values{
        {"O'Neil", "O'Neil"},
        {"lone apostrophe", "'"},
        {"two apostrophes", "''"},
        {"apostrophes at both ends", "'张伟'"},
        {"statement in a value", "'); drop table tabaddlist; --"},
        {"always true", "' or '1'='1"},
        {"backslashes", "C:\\学校\\档案\\"},
        {"percent and underscore", "100%_完成"},
        {"double quotes", "\"引号\" \"\""},
        {"emoji outside the BMP", QString::fromUtf8("开会😀👍🏽")},
        {"full-width letters and digits", "ＡＢＣ１２３＠ｘ．ｃｏｍ"},
        {"right to left", QString::fromUtf8("مدرسة שלום")},
        {"leading and trailing blanks", "  张伟  "},
        {"blanks only", "   "},
        {"ideographic spaces", "张　　伟"},
    };
    for (const auto& v : values) QTest::newRow(v.first) << v.second;
    if (withLineBreaks) {
        QTest::newRow("pasted line breaks") << QString("第一行\r\n第二行\n\n第四行\r");
        QTest::newRow("10,000 characters") << QString(10000, QChar(0x8bb0));
    }
}

// Puts text into a plain-text box as a paste would.
void paste(QPlainTextEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    box->insertPlainText(text);
}

QString nul() { return QString("前") + QChar(0) + "后"; }

} // namespace

class tst_corpus : public testkit::WindowTest {
    Q_OBJECT
private slots:
    void addressBook_data() { corpus(true); }
    void addressBook();
    void themeBooks_data() { corpus(true); }
    void themeBooks();
    void attendanceAndLists_data() { corpus(false); }
    void attendanceAndLists();
    void settings_data() { corpus(false); }
    void settings();
    void rotaCell_data() { corpus(false); }
    void rotaCell();
    void longestValues();
    void nulIsRefusedEverywhere();
};

void tst_corpus::addressBook() {
    QFETCH(QString, value);
    Frmaddlist w;
    w.show();
    testkit::clickTool(&w, Frmaddlist::Add);
    w.findChild<QLineEdit*>("txtname")->setText("甲");
    w.findChild<QLineEdit*>("txtsex")->setText("男");
    auto* remark = w.findChild<QPlainTextEdit*>("txtremark");
    paste(remark, value);
    const QString inRemark = remark->toPlainText(); // what the box holds (at most 100 characters)
    if (!value.contains('\n') && !value.contains('\r')) w.findChild<QLineEdit*>("txtaddress")->setText(value);
    const QString inAddress = w.findChild<QLineEdit*>("txtaddress")->text();
    testkit::clickTool(&w, Frmaddlist::Save);
    QCOMPARE(m_messages->last(), QString("内容已经保存"));
    const QStringList row = testkit::rows(store::kRosterFile, "select * from tabaddlist").value(0);
    QCOMPARE(row.at(8), inRemark);
    QCOMPARE(row.at(7), inAddress.isEmpty() ? QString("无") : inAddress);
    // Found again by the window's own search on the remark.
    testkit::clickTool(&w, Frmaddlist::Search);
    paste(remark, inRemark);
    testkit::clickTool(&w, Frmaddlist::Search);
    QCOMPARE(w.findChild<QLabel*>("Label11")->text(), QString("共找到1位"));
    QCOMPARE(remark->toPlainText(), inRemark);
    QCOMPARE(w.findChild<QLineEdit*>("txtaddress")->text(), row.at(7));
    QCOMPARE(testkit::count(store::kRosterFile, "tabonduty"), 0);
}

void tst_corpus::themeBooks() {
    QFETCH(QString, value);
    for (bool minutes : {true, false}) {
        std::unique_ptr<ThemeBook> w(minutes ? static_cast<ThemeBook*>(new Frmcahier) : new Frmnote);
        w->show();
        testkit::clickTool(w.get(), ThemeBook::Add);
        auto* combo = w->findChild<QComboBox*>("Combo1");
        const QString theme = QString(value).remove('\r').replace('\n', ' ').left(500);
        combo->setEditText(theme);
        for (QLineEdit* e : w->findChildren<QLineEdit*>())
            if (e->parent() != combo) e->setText("x");
        for (QPlainTextEdit* p : w->findChildren<QPlainTextEdit*>()) paste(p, value);
        auto* content = w->findChild<QPlainTextEdit*>("txtcontent");
        const QString held = content->toPlainText();
        testkit::clickTool(w.get(), ThemeBook::Save);
        QCOMPARE(m_messages->last(), QString("内容已保存"));
        const QString file = minutes ? store::kMinutesFile : store::kEventsFile;
        const QString table = minutes ? "tabcahier" : "tabnote";
        const QStringList row = testkit::rows(file, "select * from " + table).value(0);
        QCOMPARE(row.first(), theme);
        QCOMPARE(row.last(), held);
        content->clear();
        combo->showPopup();
        const QRect item = combo->view()->visualRect(combo->view()->model()->index(0, 0));
        QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {}, QPoint(item.left() + 5, item.center().y()));
        QCOMPARE(combo->currentText(), theme);
        QCOMPARE(content->toPlainText(), held);
    }
}

void tst_corpus::attendanceAndLists() {
    QFETCH(QString, value);
    {
        frmteacher w;
        w.show();
        testkit::saveAttendance(&w, {"2026-12-07", value, value, value, value, value});
        QCOMPARE(m_messages->last(), QString("已经保存"));
        QCOMPARE(testkit::rows(store::kAttendanceFile, "select * from tabkaoqin").value(0),
                 QStringList({"2026-12-07", "星期一", value, value, value, value, value}));
        w.findChild<QComboBox*>("comname")->setEditText(value);
        testkit::clickTool(&w, frmteacher::Query);
        QCOMPARE(w.findChild<QLabel*>("Label2")->text(), QString("共找到1条记录"));
        QCOMPARE(w.gridModel()->index(0, 2).data().toString(), value);
        testkit::clickTool(&w, frmteacher::Settings);
        for (const char* b : {"txtaddsort", "txtaddsubject", "txtaddnumber"})
            w.findChild<QLineEdit*>(b)->setText(value);
        w.findChild<QPushButton*>("cmdok")->click();
        QCOMPARE(m_messages->last(), QString("已经添加"));
    }
    frmteacher again;
    for (const char* c : {"comsort", "comsubject", "comnumber"}) {
        auto* combo = again.findChild<QComboBox*>(c);
        QCOMPARE(combo->itemText(combo->count() - 1), value);
    }
    QCOMPARE(again.findChild<QComboBox*>("comname")->itemText(0), value);
}

void tst_corpus::settings() {
    QFETCH(QString, value);
    for (int round = 0; round < 2; ++round) { // the insert, then the update
        Frmsystem w;
        QTest::mouseClick(w.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        for (int i = 1; i <= 4; ++i)
            w.findChild<QLineEdit*>(QString("Text%1").arg(i))->setText(value + QString::number(round));
        QTest::mouseClick(w.findChild<QPushButton*>("Command2"), Qt::LeftButton);
        QCOMPARE(m_messages->last(), QString("保存成功！"));
    }
    Frmsystem shown;
    QCOMPARE(shown.findChild<QLineEdit*>("Text1")->text(), value + "1");
    const QString v = value + "1";
    QCOMPARE(testkit::rows(store::kUserFile, "select * from tabel2"), QVector<QStringList>({{v, v, v, v}}));
    Frmaddlist titled;
    QCOMPARE(titled.findChild<QLabel*>("Label1")->text(), "欢迎使用" + v + "教师通讯录");
}

void tst_corpus::rotaCell() {
    QFETCH(QString, value);
    testkit::exec(store::kRosterFile, "insert into tabonduty values ('第1周','','')");
    Frmonduty w;
    w.show();
    testkit::clickTool(&w, Frmonduty::Modify);
    auto* grid = w.findChild<QTableView*>("DBGrid1");
    grid->setCurrentIndex(grid->model()->index(0, 1));
    grid->edit(grid->currentIndex());
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText(value);
    testkit::clickTool(&w, Frmonduty::Lock); // "锁定" writes the row being edited
    QCOMPARE(testkit::rows(store::kRosterFile, "select * from tabonduty"),
             QVector<QStringList>({{"第1周", value, ""}}));
    Frmonduty reopened;
    QCOMPARE(reopened.findChild<QTableView*>("DBGrid1")->model()->index(0, 1).data().toString(), value);
}

void tst_corpus::longestValues() {
    Frmaddlist w;
    w.show();
    testkit::clickTool(&w, Frmaddlist::Add);
    auto* name = w.findChild<QLineEdit*>("txtname");
    auto* sex = w.findChild<QLineEdit*>("txtsex");
    name->setFocus();
    testkit::type(name, QString(25, QChar(0x540d)));
    sex->setFocus();
    testkit::type(sex, QString(12, QChar(0x7537)));
    paste(w.findChild<QPlainTextEdit*>("txtremark"), QString(150, 'r'));
    testkit::clickTool(&w, Frmaddlist::Save);
    const QStringList row = testkit::rows(store::kRosterFile, "select * from tabaddlist").value(0);
    QCOMPARE(row.at(0), QString(20, QChar(0x540d)));
    QCOMPARE(row.at(1), QString(10, QChar(0x7537)));
    QCOMPARE(row.at(8), QString(100, 'r'));

    // A megabyte without a line break, pasted into the minutes: the window takes it at once
    // (no search for word boundaries in it), saves it whole and shows it again whole.
    Frmcahier minutes;
    minutes.show();
    testkit::clickTool(&minutes, ThemeBook::Add);
    minutes.findChild<QComboBox*>("Combo1")->setEditText("长文");
    for (QLineEdit* e : minutes.findChildren<QLineEdit*>())
        if (e->text().isEmpty()) e->setText("x");
    for (QPlainTextEdit* p : minutes.findChildren<QPlainTextEdit*>()) p->setPlainText("x");
    QString huge;
    for (int i = 0; i < 1000000; ++i) huge += QChar('a' + i % 26);
    QApplication::clipboard()->setText(huge);
    auto* content = minutes.findChild<QPlainTextEdit*>("txtcontent");
    content->clear();
    content->setFocus();
    content->paste();
    QCoreApplication::processEvents();
    testkit::clickTool(&minutes, ThemeBook::Save);
    QCOMPARE(m_messages->last(), QString("内容已保存"));
    QCOMPARE(testkit::rows(store::kMinutesFile, "select content from tabcahier").value(0).value(0), huge);
    QCOMPARE(content->toPlainText(), huge);
}

void tst_corpus::nulIsRefusedEverywhere() {
    Frmaddlist book;
    testkit::clickTool(&book, Frmaddlist::Add);
    book.findChild<QLineEdit*>("txtname")->setText(nul());
    book.findChild<QLineEdit*>("txtsex")->setText("男");
    testkit::clickTool(&book, Frmaddlist::Save);
    QVERIFY(m_messages->last().contains("空字符"));
    QCOMPARE(testkit::count(store::kRosterFile, "tabaddlist"), 0);

    Frmcahier minutes;
    testkit::clickTool(&minutes, ThemeBook::Add);
    minutes.findChild<QComboBox*>("Combo1")->setEditText("主题");
    for (QLineEdit* e : minutes.findChildren<QLineEdit*>())
        if (e->text().isEmpty()) e->setText("x");
    for (QPlainTextEdit* p : minutes.findChildren<QPlainTextEdit*>()) p->setPlainText("x");
    minutes.findChild<QPlainTextEdit*>("txtcontent")->setPlainText(nul());
    testkit::clickTool(&minutes, ThemeBook::Save);
    QVERIFY(m_messages->last().contains("空字符"));
    QCOMPARE(testkit::count(store::kMinutesFile, "tabcahier"), 0);

    frmteacher attendance;
    testkit::saveAttendance(&attendance, {"12-07-2026", "x", "x", "x", nul(), "x"});
    QVERIFY(m_messages->last().contains("空字符"));
    testkit::clickTool(&attendance, frmteacher::Settings);
    attendance.findChild<QLineEdit*>("txtaddsort")->setText("公假");
    attendance.findChild<QLineEdit*>("txtaddsubject")->setText(nul());
    attendance.findChild<QPushButton*>("cmdok")->click();
    QVERIFY(m_messages->last().contains("空字符"));
    QCOMPARE(testkit::count(store::kAttendanceFile, "tabkaoqin"), 0);
    QCOMPARE(testkit::count(store::kAttendanceFile, "tabaddsort"), 0);

    Frmsystem settings;
    QTest::mouseClick(settings.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    settings.findChild<QLineEdit*>("Text3")->setText(nul());
    QTest::mouseClick(settings.findChild<QPushButton*>("Command2"), Qt::LeftButton);
    QVERIFY(m_messages->last().contains("空字符"));
    QCOMPARE(testkit::count(store::kUserFile, "tabel2"), 0);
}

QTEST_MAIN(tst_corpus)
#include "tst_corpus.moc"
