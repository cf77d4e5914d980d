// The meeting minutes and the school events: one implementation, checked on both windows.
#include "testkit.h"

#include <books/frmcahier.h>
#include <books/frmnote.h>
#include <store/catalogue.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolBar>
#include <QtTest>

namespace {

struct Book {
    std::unique_ptr<ThemeBook> w;
    QString file, table;
    explicit Book(bool minutes) {
        if (minutes)
            w.reset(new Frmcahier);
        else
            w.reset(new Frmnote);
        file = minutes ? store::kMinutesFile : store::kEventsFile;
        table = minutes ? "tabcahier" : "tabnote";
        w->show();
    }
    QComboBox* combo() { return w->findChild<QComboBox*>("Combo1"); }
    QWidget* box(const QString& name) { return w->findChild<QWidget*>(name); }
    QString text(const QString& name) {
        if (auto* e = qobject_cast<QLineEdit*>(box(name))) return e->text();
        return qobject_cast<QPlainTextEdit*>(box(name))->toPlainText();
    }
    void fill(const QString& name, const QString& value) {
        QWidget* b = name == "Combo1" ? combo()->lineEdit() : box(name);
        if (auto* e = qobject_cast<QLineEdit*>(b))
            e->clear();
        else
            qobject_cast<QPlainTextEdit*>(b)->clear();
        b->setFocus();
        testkit::type(b, value);
    }
    void click(int i) { testkit::clickTool(w.get(), i); }
    bool saveEnabled() { return testkit::toolEnabled(w.get(), ThemeBook::Save); }
    // Picks entry i of the theme list with the mouse.
    void pick(int i) {
        combo()->showPopup();
        QAbstractItemView* view = combo()->view();
        const QModelIndex index = view->model()->index(i, 0);
        view->scrollTo(index);
        const QRect row = view->visualRect(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(qMin(row.center().x(), 20), row.center().y()));
    }
    QStringList themes() {
        QStringList out;
        for (int i = 0; i < combo()->count(); ++i) out << combo()->itemText(i);
        return out;
    }
    // Adds a record with every required input filled.
    void add(const QString& theme, const QString& content) {
        click(ThemeBook::Add);
        fill("Combo1", theme);
        fill("txttime", "2026年12月7日");
        fill("txtrecorder", "王老师");
        if (box("txtaddress")) fill("txtaddress", "会议室");
        if (box("txtattendee")) fill("txtattendee", "全体教师");
        fill("txtcontent", content);
        click(ThemeBook::Save);
    }
    QVector<QStringList> stored() { return testkit::rows(file, "select * from " + table + " order by rowid"); }
    // The boxes whose shown value does not start at its beginning, whose first line is cut, or
    // that show the tops of the line after the last whole one.
    QStringList cutBoxes() {
        QCoreApplication::processEvents(); // scroll bars come and go in a queued call
        QStringList cut;
        for (QLineEdit* e : w->findChildren<QLineEdit*>())
            if (e->cursorPosition() != 0) cut << e->parentWidget()->objectName() + "/" + e->objectName();
        for (QPlainTextEdit* t : w->findChildren<QPlainTextEdit*>()) {
            const QRect first = t->cursorRect(QTextCursor(t->document()));
            if (t->verticalScrollBar()->value() != 0 || !t->viewport()->rect().contains(first)) {
                cut << t->objectName();
            } else if (t->viewport()->height() < 2 * first.height()) {
                const QImage image = t->viewport()->grab().toImage();
                const QRgb base = t->palette().color(QPalette::Base).rgb();
                bool blank = true;
                for (int y = first.bottom() + 2; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x) blank = blank && image.pixel(x, y) == base;
                if (!blank) cut << t->objectName() + " (the next line's tops)";
            }
        }
        return cut;
    }
};

} // namespace

class tst_themebook : public testkit::WindowTest {
    Q_OBJECT
private slots:
    void emptyBook_data() { books(); }
    void emptyBook();
    void requiredOrder_data();
    void requiredOrder();
    void saveWritesNoneAndShowsTheFirstRow_data() { books(); }
    void saveWritesNoneAndShowsTheFirstRow();
    void apostropheThemeRoundTrip_data() { books(); }
    void apostropheThemeRoundTrip();
    void repeatedThemesKeepTheirOwnRows_data() { books(); }
    void repeatedThemesKeepTheirOwnRows();
    void addPickSaveMakesADuplicate_data() { books(); }
    void addPickSaveMakesADuplicate();
    void storedValuesShowFromTheirBeginning_data() { books(); }
    void storedValuesShowFromTheirBeginning();
    void resizeRules_data();
    void resizeRules();
    void lengthLimits_data();
    void lengthLimits();
    void fractionalPointSizes_data();
    void fractionalPointSizes();
    void comboNeverInsertsTypedText_data() { books(); }
    void comboNeverInsertsTypedText();
    void bothWindowsWriteTheirOwnFiles();
    void engineErrorsAreReported_data() { books(); }
    void engineErrorsAreReported();
    void deleteKeepsTheRecordInTheBin_data();
    void deleteKeepsTheRecordInTheBin();

private:
    static void books() {
        QTest::addColumn<bool>("minutes");
        QTest::newRow("minutes") << true;
        QTest::newRow("events") << false;
    }
};

void tst_themebook::emptyBook() {
    QFETCH(bool, minutes);
    Book b(minutes);
    QCOMPARE(b.combo()->currentText(), QString("暂时没有记录！"));
    QVERIFY(b.combo()->styleSheet().contains("#ff0000"));
    QVERIFY(!b.saveEnabled());
    QCOMPARE(b.text("txtcontent"), QString());
    QCOMPARE(b.w->findChild<QLabel*>("Label1_0")->text(), minutes ? QString("学校会议记录") : QString("学校大事历"));
    b.click(ThemeBook::Delete);
    QCOMPARE(m_messages->texts(), QStringList{"该记录已经删除"});
    QCOMPARE(m_messages->all.last().style, 64);
    QCOMPARE(b.combo()->currentText(), QString("暂时没有记录！"));
    // Themes added to a book opened empty stay red until it is opened again.
    b.add("周例会", "内容");
    QCOMPARE(b.themes(), QStringList{"周例会"});
    QVERIFY(b.combo()->styleSheet().contains("#ff0000"));
}

void tst_themebook::requiredOrder_data() {
    QTest::addColumn<bool>("minutes");
    QTest::addColumn<QStringList>("empty");
    QTest::addColumn<QString>("message");
    QTest::newRow("minutes: theme and content") << true << QStringList{"Combo1", "txtcontent"} << "请输入主题！";
    QTest::newRow("minutes: place and attendees") << true << QStringList{"txtaddress", "txtattendee"} << "请输入地点！";
    QTest::newRow("minutes: recorder before place")
        << true << QStringList{"txtaddress", "txtrecorder"} << "请输入记录员！";
    QTest::newRow("minutes: attendees") << true << QStringList{"txtattendee"} << "请输入参会人！";
    QTest::newRow("events: recorder and content")
        << false << QStringList{"txtrecorder", "txtcontent"} << "请输入记录员！";
    QTest::newRow("events: time") << false << QStringList{"txttime"} << "请输入时间！";
    QTest::newRow("events: content") << false << QStringList{"txtcontent"} << "请输入内容！";
}

void tst_themebook::requiredOrder() {
    QFETCH(bool, minutes);
    QFETCH(QStringList, empty);
    QFETCH(QString, message);
    Book b(minutes);
    b.click(ThemeBook::Add);
    QStringList inputs{"Combo1", "txttime", "txtrecorder", "txtcontent"};
    if (minutes)
        inputs << "txtaddress"
               << "txtattendee";
    for (const QString& name : inputs)
        if (!empty.contains(name)) b.fill(name, " ");
    b.click(ThemeBook::Save);
    QCOMPARE(m_messages->texts(), QStringList{message});
    QCOMPARE(m_messages->all.last().style, 48);
    QVERIFY(b.stored().isEmpty());
    QVERIFY(b.saveEnabled());
}

void tst_themebook::saveWritesNoneAndShowsTheFirstRow() {
    QFETCH(bool, minutes);
    Book b(minutes);
    b.add("开学准备", "第一条");
    QCOMPARE(m_messages->last(), QString("内容已保存"));
    QVERIFY(!b.saveEnabled());
    const QStringList row = b.stored().at(0);
    if (minutes)
        QCOMPARE(row.mid(5, 3), QStringList({"无", "无", "无"}));
    else
        QCOMPARE(row.at(3), QString("无"));
    b.add("期末总结", "第二条");
    QCOMPARE(b.stored().size(), 2);
    QCOMPARE(b.combo()->currentText(), QString("开学准备")); // the table's first row, not the saved one
    QCOMPARE(b.text("txtcontent"), QString("第一条"));
    QCOMPARE(b.themes(), QStringList({"开学准备", "期末总结"}));
}

void tst_themebook::apostropheThemeRoundTrip() {
    QFETCH(bool, minutes);
    Book b(minutes);
    b.add("first", "a");
    b.add("O'Brien's talk", "讲话内容");
    QCOMPARE(b.themes().at(1), QString("O'Brien's talk"));
    b.pick(1);
    QCOMPARE(b.text("txtcontent"), QString("讲话内容"));
    QCOMPARE(b.stored().at(1).at(0), QString("O'Brien's talk"));
}

void tst_themebook::repeatedThemesKeepTheirOwnRows() {
    QFETCH(bool, minutes);
    Book b(minutes);
    b.add("周例会", "第一周");
    b.add("周例会", "第二周");
    b.add("周例会", "第三周");
    b.add("教研会", "一");
    b.add("教研会", "二");
    QCOMPARE(b.themes(), QStringList({"周例会", "周例会", "周例会", "教研会", "教研会"}));
    b.pick(1);
    QCOMPARE(b.text("txtcontent"), QString("第二周"));
    b.pick(2);
    QCOMPARE(b.text("txtcontent"), QString("第三周"));
    // Delete removes the meeting on screen alone.
    b.pick(1);
    b.click(ThemeBook::Delete);
    QCOMPARE(m_messages->last(), QString("该记录已经删除"));
    QCOMPARE(b.stored().size(), 4);
    QCOMPARE(b.stored().at(1).last(), QString("第三周"));
    // A typed theme other than the one on screen removes every record with that theme.
    b.fill("Combo1", "教研会");
    b.click(ThemeBook::Delete);
    QCOMPARE(b.stored().size(), 2);
    QCOMPARE(b.themes(), QStringList({"周例会", "周例会"}));
    b.click(ThemeBook::Delete);
    b.click(ThemeBook::Delete);
    QCOMPARE(b.combo()->currentText(), QString("暂时没有记录！"));
    QCOMPARE(b.text("txtcontent"), QString());
    QCOMPARE(b.text("txttime"), QString());
}

void tst_themebook::addPickSaveMakesADuplicate() {
    QFETCH(bool, minutes);
    Book b(minutes);
    b.add("家长会", "通知家长");
    b.click(ThemeBook::Add);
    b.pick(0);
    QVERIFY(b.saveEnabled()); // picking leaves the adding state
    b.click(ThemeBook::Save);
    QCOMPARE(b.stored().size(), 2);
    QCOMPARE(b.stored().at(0), b.stored().at(1));
    // Add empties the theme and forgets its pick: Down starts again from the first entry.
    b.pick(1);
    b.click(ThemeBook::Add);
    testkit::key(b.combo(), Qt::Key_Down);
    QCOMPARE(b.combo()->currentIndex(), 0);
}

// Values longer than their boxes, written by another program, show from their first character;
// a reload shows the first line of every box, wherever the person had scrolled it.
void tst_themebook::storedValuesShowFromTheirBeginning() {
    QFETCH(bool, minutes);
    const int columns = minutes ? 9 : 5;
    for (const char* last : {"一", "二"}) {
        QStringList values;
        for (int i = 0; i < columns; ++i) values << "'" + QString(60, QChar(0x957f)) + QString::fromUtf8(last) + "'";
        testkit::exec(minutes ? store::kMinutesFile : store::kEventsFile,
                      QString("insert into %1 values (%2)").arg(minutes ? "tabcahier" : "tabnote", values.join(',')));
    }
    Book b(minutes);
    QVERIFY2(b.cutBoxes().isEmpty(), qPrintable(b.cutBoxes().join(' ')));
    b.click(ThemeBook::Add);
    for (const char* name : {"Combo1", "txttime", "txtaddress", "txtrecorder"})
        if (qstrcmp(name, "Combo1") == 0 || qobject_cast<QLineEdit*>(b.box(name))) b.fill(name, "新");
    for (QPlainTextEdit* t : b.w->findChildren<QPlainTextEdit*>()) b.fill(t->objectName(), "甲\n乙\n丙");
    b.click(ThemeBook::Save);
    QCOMPARE(m_messages->last(), QString("内容已保存"));
    QVERIFY2(b.cutBoxes().isEmpty(), qPrintable(b.cutBoxes().join(' ')));
    b.pick(1);
    QVERIFY(b.text("txttime").endsWith("二"));
    QVERIFY2(b.cutBoxes().isEmpty(), qPrintable(b.cutBoxes().join(' ')));
}

void tst_themebook::resizeRules_data() {
    QTest::addColumn<bool>("minutes");
    QTest::addColumn<int>("contentHeight"); // twips
    QTest::newRow("minutes") << true << 5450;
    QTest::newRow("events") << false << 5700;
}

void tst_themebook::resizeRules() {
    QFETCH(bool, minutes);
    QFETCH(int, contentHeight);
    Book b(minutes);
    b.w->resize(800, 600); // 12000 x 9000 twips
    auto near = [](int px, int tw) { return qAbs(px * 15 - tw) <= 15; };
    QWidget* frame = b.w->findChild<QWidget*>("Frame1");
    QVERIFY(near(frame->width(), 11850) && near(frame->height(), 8900));
    QWidget* content = b.box("txtcontent");
    QVERIFY(near(content->width(), 10850));
    QVERIFY(near(content->height(), contentHeight));
    QCOMPARE(frame->x(), minutes ? 0 : 8);
    QLabel* title = b.w->findChild<QLabel*>("Label1_0");
    QVERIFY(qAbs(title->x() - (frame->width() - title->width()) / 2) <= 1);
    b.w->resize(60, 60); // smaller than the constants: nothing negative
    QCOMPARE(content->width(), 0);
}

void tst_themebook::lengthLimits_data() {
    QTest::addColumn<bool>("minutes");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("limit");
    QTest::newRow("recorder") << true << "txtrecorder" << 25;
    QTest::newRow("attendees") << true << "txtattendee" << 127;
    QTest::newRow("absentees") << true << "txtabsent" << 174;
    QTest::newRow("late") << true << "txtlate" << 174;
    QTest::newRow("away") << true << "txtevection" << 174;
    QTest::newRow("remark") << false << "txtremark" << 100;
}

void tst_themebook::lengthLimits() {
    QFETCH(bool, minutes);
    QFETCH(QString, box);
    QFETCH(int, limit);
    Book b(minutes);
    b.click(ThemeBook::Add);
    b.fill(box, QString(limit + 5, QChar(0x5b57)));
    QCOMPARE(b.text(box).size(), limit);
    auto* edit = qobject_cast<QPlainTextEdit*>(b.box(box));
    edit->selectAll();
    edit->insertPlainText(QString(limit - 1, 'a') + QString::fromUtf8("😀")); // a pasted emoji is not split
    QCOMPARE(b.text(box), QString(limit - 1, 'a'));
}

// The forms hold whole points (uic writes no others); the windows set the fractions.
void tst_themebook::fractionalPointSizes_data() {
    QTest::addColumn<bool>("minutes");
    QTest::addColumn<QString>("label");
    QTest::addColumn<double>("points");
    QTest::newRow("minutes: note") << true << "Label2" << 10.5;
    QTest::newRow("minutes: content caption") << true << "Label1_5" << 14.25;
    QTest::newRow("minutes: field caption") << true << "Label1_2" << 12.0;
    QTest::newRow("events: note") << false << "Label2" << 10.5;
    QTest::newRow("events: theme caption") << false << "Label1_11" << 14.25;
    QTest::newRow("events: remark caption") << false << "Label1_4" << 14.25;
}

void tst_themebook::fractionalPointSizes() {
    QFETCH(bool, minutes);
    QFETCH(QString, label);
    QFETCH(double, points);
    Book b(minutes);
    const QFont font = b.w->findChild<QLabel*>(label)->font();
    QCOMPARE(font.pointSizeF(), points);
    QCOMPARE(font.family(), QString("宋体"));
    QCOMPARE(font.italic(), label == "Label1_5");
}

void tst_themebook::comboNeverInsertsTypedText() {
    QFETCH(bool, minutes);
    Book b(minutes);
    b.add("周例会", "a");
    int picks = 0;
    connect(b.combo(), qOverload<int>(&QComboBox::activated), this, [&] { ++picks; });
    b.combo()->setEditText("周");
    b.combo()->lineEdit()->setFocus();
    testkit::type(b.combo()->lineEdit(), "会");
    testkit::key(b.combo()->lineEdit(), Qt::Key_Return);
    QCOMPARE(b.themes(), QStringList{"周例会"});
    QCOMPARE(b.combo()->currentText(), QString("周会"));
    QCOMPARE(picks, 0);
    // After 增加, typing a theme that is listed is no pick either, whether typing ends with Enter
    // or by leaving the box: the typed content stays.
    b.add("期中考试", "b");
    b.pick(1);
    picks = 0;
    b.click(ThemeBook::Add);
    b.fill("txtcontent", "新的内容");
    b.fill("Combo1", "周例会");
    testkit::key(b.combo()->lineEdit(), Qt::Key_Return);
    b.box("txttime")->setFocus();
    QCOMPARE(picks, 0);
    QCOMPARE(b.text("txtcontent"), QString("新的内容"));
}

void tst_themebook::bothWindowsWriteTheirOwnFiles() {
    Book minutes(true), events(false);
    minutes.add("教研会", "m1");
    events.add("运动会", "e1");
    minutes.add("家长会", "m2");
    QCOMPARE(minutes.stored().size(), 2);
    QCOMPARE(events.stored().size(), 1);
    QCOMPARE(events.themes(), QStringList{"运动会"});
}

void tst_themebook::engineErrorsAreReported() {
    QFETCH(bool, minutes);
    Book b(minutes);
    testkit::exec(b.file, "drop table " + b.table);
    b.add("周例会", "a");
    QVERIFY(m_messages->last().contains("内容没有保存"));
    QVERIFY(m_messages->last().contains(testkit::shown(b.file)));
    QVERIFY(b.saveEnabled());
    QFile::remove(b.file);
    b.click(ThemeBook::Delete);
    QVERIFY(m_messages->last().contains("找不到数据文件"));
    QVERIFY(!QFile::exists(b.file));
}

void tst_themebook::deleteKeepsTheRecordInTheBin_data() {
    QTest::addColumn<bool>("minutes");
    QTest::addColumn<bool>("typed"); // a theme typed, rather than the record picked
    QTest::addColumn<int>("kept");
    QTest::newRow("minutes: the shown record") << true << false << 1;
    QTest::newRow("minutes: a typed theme") << true << true << 2;
    QTest::newRow("events: the shown record") << false << false << 1;
    QTest::newRow("events: a typed theme") << false << true << 2;
}

// Every delete leaves its records in the bin, and 恢复 puts them back exactly as they were.
void tst_themebook::deleteKeepsTheRecordInTheBin() {
    QFETCH(bool, minutes);
    QFETCH(bool, typed);
    QFETCH(int, kept);
    const QString file = minutes ? store::kMinutesFile : store::kEventsFile, table = minutes ? "tabcahier" : "tabnote";
    const QString blanks = minutes ? ",NULL,'',7,'','','',''" : ",NULL,'',''";
    testkit::exec(file,
                  "insert into " + table + " values ('教研会'" + blanks + ",'" + QString(14200, QChar(0x5b57)) + "')");
    testkit::exec(file, "insert into " + table + " values ('周例会'" + blanks + ",'二')");
    testkit::exec(file, "insert into " + table + " values ('周例会'" + blanks + ",'三')");
    const auto before = testkit::records(file, table);
    Book b(minutes);
    if (typed) b.fill("Combo1", "周例会");
    b.click(ThemeBook::Delete);
    QCOMPARE(m_messages->last(), QString("该记录已经删除"));
    QCOMPARE(b.stored().size(), 3 - kept);
    QCOMPARE(testkit::binCount(), kept);
    testkit::restoreFromBin();
    QVERIFY(m_messages->last().startsWith("记录已经恢复到：" + QString(minutes ? "会议记录" : "学校事历")));
    QVERIFY(m_messages->last().contains(file));
    QCOMPARE(testkit::records(file, table), before);
    QCOMPARE(testkit::binCount(), 0);
}

QTEST_MAIN(tst_themebook)
#include "tst_themebook.moc"
