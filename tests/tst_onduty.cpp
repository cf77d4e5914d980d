// The duty rota's grid: locking, entry and modify states, row-by-row writes on rowids.
#include "testkit.h"

#include <books/frmonduty.h>
#include <books/rotamodel.h>
#include <shell/frmmain.h>
#include <store/catalogue.h>

#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QtTest>

namespace {

struct Rota {
    Frmonduty w;
    Rota() {
        w.show();
        QApplication::setActiveWindow(&w);
    }
    QTableView* grid() { return w.findChild<QTableView*>("DBGrid1"); }
    int rows() { return grid()->model()->rowCount(); }
    QString cell(int r, int c) { return grid()->model()->index(r, c).data().toString(); }
    void click(int i) { testkit::clickTool(&w, i); }
    // Types into a cell as a person would: go to it, type, then leave the row.
    void type(int r, int c, const QString& text) {
        grid()->setFocus();
        grid()->setCurrentIndex(grid()->model()->index(r, c));
        testkit::type(grid(), text.left(1));
        if (QWidget* editor = QApplication::focusWidget(); editor != grid()) {
            testkit::type(editor, text.mid(1));
            testkit::key(editor, Qt::Key_Return);
            QCoreApplication::processEvents(); // the delegate hands the text over in a queued call
        }
    }
    void leaveRow(int toRow) { grid()->setCurrentIndex(grid()->model()->index(toRow, 0)); }
    // Selects the whole row by its header, as a person would, and presses Del.
    void deleteRow(int r) {
        grid()->setCurrentIndex(grid()->model()->index(r, 0));
        grid()->selectRow(r);
        testkit::key(grid(), Qt::Key_Delete);
    }
};

QVector<QStringList> stored() { return testkit::rows(store::kRosterFile, "select * from tabonduty order by rowid"); }

void seed() {
    testkit::exec(store::kRosterFile, "insert into tabonduty values ('第1周','张伟','')");
    testkit::exec(store::kRosterFile, "insert into tabonduty values ('第1周','张伟','')");
    testkit::exec(store::kRosterFile, "insert into tabonduty values ('第2周','李娜','')");
}

} // namespace

class tst_onduty : public testkit::WindowTest {
    Q_OBJECT
private slots:
    void showsTheTableAndTitle();
    void lockedGridRefusesEverything();
    void statesOfferTheNewRecordRow();
    void editTouchesOnlyTheRowActedOn();
    void deleteTouchesOnlyTheRowActedOn();
    void deletedRowGoesToTheBin_data();
    void deletedRowGoesToTheBin();
    void addedRowIsStoredWhenLeft();
    void editOfAVanishedRowIsReported();
    void escapeCancelsThePendingRow_data();
    void escapeCancelsThePendingRow();
    void pendingRowIsWrittenWhenTheProgramCloses();
    void copyAndPasteAsSpreadsheetText_data();
    void copyAndPasteAsSpreadsheetText();
    void widthsResetOnActivation();
    void fixedSizeCentredWithFrameBelowCentre();
    void rotaNeverHoldsTheFileLocked();
};

void tst_onduty::showsTheTableAndTitle() {
    testkit::exec(store::kUserFile, "insert into tabel2 values ('实验小学','','','')");
    seed();
    Rota r;
    QCOMPARE(r.rows(), 3);
    QCOMPARE(r.grid()->model()->headerData(1, Qt::Horizontal).toString(), QString("值周教师"));
    QCOMPARE(r.w.findChild<QLabel*>("Label1")->text(), QString("实验小学教师值周表"));
    QCOMPARE(r.w.windowTitle(), QString("教师值周安排"));
}

void tst_onduty::lockedGridRefusesEverything() {
    seed();
    Rota r;
    r.type(0, 1, "王芳");
    QCOMPARE(r.cell(0, 1), QString("张伟"));
    r.deleteRow(0);
    QCOMPARE(r.rows(), 3);
    QCOMPARE(stored().size(), 3);
    QVERIFY(!r.grid()->model()->setData(r.grid()->model()->index(0, 0), "x"));
    // Locked again after entry: the same.
    r.click(Frmonduty::Entry);
    r.click(Frmonduty::Lock);
    r.type(0, 1, "王芳");
    r.deleteRow(0);
    QCOMPARE(stored().size(), 3);
    QCOMPARE(r.rows(), 3);
}

void tst_onduty::statesOfferTheNewRecordRow() {
    seed();
    Rota r;
    // The row-marker column keeps its width in every state: the columns never jump sideways.
    auto markerWidth = [&r] {
        QCoreApplication::processEvents();
        return r.grid()->verticalHeader()->width();
    };
    const int width = markerWidth();
    r.click(Frmonduty::Modify);
    QCOMPARE(r.rows(), 3);
    r.click(Frmonduty::Lock);
    r.click(Frmonduty::Entry);
    QCOMPARE(r.rows(), 4);
    QCOMPARE(r.grid()->model()->headerData(3, Qt::Vertical).toString(), QString("*"));
    QCOMPARE(markerWidth(), width);
    r.type(0, 2, "备注");
    QCOMPARE(r.grid()->model()->headerData(0, Qt::Vertical).toString(), QString("✎"));
    QCOMPARE(markerWidth(), width);
    r.click(Frmonduty::Modify);
    QCOMPARE(r.rows(), 4);
    r.click(Frmonduty::Lock);
    QCOMPARE(r.rows(), 3);
    QCOMPARE(markerWidth(), width);
}

void tst_onduty::editTouchesOnlyTheRowActedOn() {
    seed();
    Rota r;
    r.click(Frmonduty::Modify);
    r.type(1, 2, "雨天改室内");
    QCOMPARE(stored().at(1).at(2), QString()); // written when the row is left, not before
    r.leaveRow(2);
    QCOMPARE(stored().at(0), QStringList({"第1周", "张伟", ""}));
    QCOMPARE(stored().at(1), QStringList({"第1周", "张伟", "雨天改室内"}));
    QVERIFY(m_messages->all.isEmpty());
}

void tst_onduty::deleteTouchesOnlyTheRowActedOn() {
    seed();
    Rota r;
    r.click(Frmonduty::Modify);
    // Del with one cell selected deletes nothing.
    r.grid()->setCurrentIndex(r.grid()->model()->index(1, 1));
    testkit::key(r.grid(), Qt::Key_Delete);
    QCOMPARE(stored().size(), 3);
    r.deleteRow(1);
    QCOMPARE(stored(), QVector<QStringList>({{"第1周", "张伟", ""}, {"第2周", "李娜", ""}}));
    QCOMPARE(r.rows(), 2);
}

void tst_onduty::deletedRowGoesToTheBin_data() {
    QTest::addColumn<bool>("binMissing");
    QTest::newRow("kept, then restored") << false;
    QTest::newRow("no bin: nothing deleted") << true;
}

void tst_onduty::deletedRowGoesToTheBin() {
    QFETCH(bool, binMissing);
    seed();
    testkit::exec(store::kRosterFile, "update tabonduty set 备注=NULL where rowid=3");
    const auto before = testkit::records(store::kRosterFile, "tabonduty");
    if (binMissing) QVERIFY(QFile::remove(store::kRecycleFile));
    Rota r;
    r.click(Frmonduty::Modify);
    r.deleteRow(2);
    if (binMissing) {
        QVERIFY(m_messages->last().startsWith("这一行没有删除。"));
        QVERIFY(m_messages->last().contains("recycle.dat"));
        QCOMPARE(testkit::records(store::kRosterFile, "tabonduty"), before);
        QCOMPARE(r.rows(), 3);
        return;
    }
    QCOMPARE(r.rows(), 2);
    QCOMPARE(testkit::binCount(), 1);
    testkit::restoreFromBin();
    QCOMPARE(m_messages->last(), QString("记录已经恢复到：值周安排 1 条（database/addonduty.dat）"));
    QCOMPARE(testkit::records(store::kRosterFile, "tabonduty"), before);
}

void tst_onduty::addedRowIsStoredWhenLeft() {
    Rota r;
    r.click(Frmonduty::Entry);
    QCOMPARE(r.rows(), 1);
    r.type(0, 0, "第3周");
    QCOMPARE(r.rows(), 2); // a fresh new-record row follows
    r.type(0, 1, "O'Neil");
    QVERIFY(stored().isEmpty());
    r.leaveRow(1);
    QCOMPARE(stored(), QVector<QStringList>({{"第3周", "O'Neil", ""}}));
    // The last edit is written by "锁定" too.
    r.type(0, 2, "备注");
    r.click(Frmonduty::Lock);
    QCOMPARE(stored().at(0).at(2), QString("备注"));
}

void tst_onduty::editOfAVanishedRowIsReported() {
    seed();
    Rota r;
    r.click(Frmonduty::Modify);
    r.type(0, 1, "王芳");
    testkit::exec(store::kRosterFile, "delete from tabonduty"); // the rota was emptied meanwhile
    r.leaveRow(1);
    QCOMPARE(m_messages->all.size(), 1);
    QVERIFY(m_messages->last().contains("已被修改或删除"));
    QCOMPARE(r.rows(), 0); // the grid shows what the file holds again
    // A refused write on "锁定": reported once, and the grid is locked by the same click.
    seed();
    r.w.model()->reload();
    r.type(0, 1, "王芳");
    testkit::exec(store::kRosterFile, "delete from tabonduty");
    r.click(Frmonduty::Lock);
    QCOMPARE(m_messages->all.size(), 2);
    QVERIFY(!r.w.model()->allowUpdate());
}

// Escape, in the cell editor or on the grid, cancels the row being typed: a new row goes, an
// edited row shows what was read; nothing is written later, and the file is not touched (it may
// be gone).
void tst_onduty::escapeCancelsThePendingRow_data() {
    QTest::addColumn<bool>("newRow");
    QTest::addColumn<bool>("inEditor");
    QTest::newRow("new row, in the editor") << true << true;
    QTest::newRow("new row, on the grid") << true << false;
    QTest::newRow("edited row, in the editor, file gone") << false << true;
}

void tst_onduty::escapeCancelsThePendingRow() {
    QFETCH(bool, newRow);
    QFETCH(bool, inEditor);
    seed();
    Rota r;
    r.click(newRow ? Frmonduty::Entry : Frmonduty::Modify);
    const int row = newRow ? 3 : 1;
    r.type(row, 0, "第9周");
    if (!newRow) QFile::remove(store::kRosterFile);
    r.grid()->setCurrentIndex(r.grid()->model()->index(row, 1));
    r.grid()->setFocus();
    if (inEditor) {
        testkit::type(r.grid(), "x"); // opens the cell editor
        QVERIFY(QApplication::focusWidget() != r.grid());
        testkit::key(QApplication::focusWidget(), Qt::Key_Escape);
    } else {
        testkit::key(r.grid(), Qt::Key_Escape);
    }
    QCOMPARE(r.w.model()->pendingRow(), -1);
    QCOMPARE(r.rows(), newRow ? 4 : 3);
    QCOMPARE(r.cell(row, 0), newRow ? QString() : QString("第1周"));
    QVERIFY(m_messages->all.isEmpty());
    if (!newRow) return;
    r.click(Frmonduty::Lock);
    QCOMPARE(stored().size(), 3);
}

// Ctrl+C gives the selected cells as tab-separated lines; Ctrl+V stores tab-separated rows from
// the current cell on, each a row edit written as a typed one.
void tst_onduty::copyAndPasteAsSpreadsheetText_data() {
    QTest::addColumn<int>("state");      // 0: locked, or the toolbar button pressed
    QTest::addColumn<QRect>("cells");    // selected, or the current cell (top left) of a paste
    QTest::addColumn<QString>("pasted"); // empty: Ctrl+C instead
    QTest::addColumn<QString>("result"); // the clipboard after a copy, the stored rows after a paste
    QTest::newRow("copy a block") << 0 << QRect(0, 1, 2, 2) << ""
                                  << "第1周\t张伟\n第2周\t李娜\n";
    QTest::newRow("copy in entry mode, a cell with a tab quoted") << int(Frmonduty::Entry) << QRect(2, 3, 1, 1) << ""
                                                                  << "\"雨天\t改室内\"\n";
    QTest::newRow("paste a row into modify mode") << int(Frmonduty::Modify) << QRect(1, 2, 1, 1) << "王芳\t操场\r\n"
                                                  << "第1周|张伟||第1周|张伟||第2周|王芳|操场|第3周|赵敏|雨天\t改室内";
    QTest::newRow("paste rows past the end in entry mode")
        << int(Frmonduty::Entry) << QRect(0, 4, 1, 1) << "第4周\t陈静\n第5周\t\"刘\"\"洋\"\"\"\t无"
        << "第1周|张伟||第1周|张伟||第2周|李娜||第3周|赵敏|雨天\t改室内|第4周|陈静||第5周|刘\"洋\"|无";
    QTest::newRow("paste past the end in modify mode stops at the last row")
        << int(Frmonduty::Modify) << QRect(0, 3, 1, 1) << "第6周\n第7周"
        << "第1周|张伟||第1周|张伟||第2周|李娜||第6周|赵敏|雨天\t改室内";
    QTest::newRow("locked: no paste") << 0 << QRect(0, 0, 1, 1) << "第9周"
                                      << "第1周|张伟||第1周|张伟||第2周|李娜||第3周|赵敏|雨天\t改室内";
}

void tst_onduty::copyAndPasteAsSpreadsheetText() {
    QFETCH(int, state);
    QFETCH(QRect, cells);
    QFETCH(QString, pasted);
    QFETCH(QString, result);
    seed();
    testkit::exec(store::kRosterFile, "insert into tabonduty values ('第3周','赵敏','雨天' || char(9) || '改室内')");
    Rota r;
    if (state) r.click(state);
    r.grid()->setFocus();
    r.grid()->setCurrentIndex(r.grid()->model()->index(cells.top(), cells.left()));
    auto* model = r.grid()->model();
    r.grid()->selectionModel()->select(
        QItemSelection(model->index(cells.top(), cells.left()), model->index(cells.bottom(), cells.right())),
        QItemSelectionModel::ClearAndSelect);
    if (pasted.isEmpty()) {
        QTest::keyClick(r.grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), result);
        QVERIFY(stored().size() == 4 && m_messages->all.isEmpty());
        return;
    }
    QApplication::clipboard()->setText(pasted);
    QTest::keyClick(r.grid(), Qt::Key_V, Qt::ControlModifier);
    QStringList all;
    for (const QStringList& row : stored()) all << row;
    QCOMPARE(all.join('|'), result);
    QCOMPARE(m_messages->all.size(), state ? 0 : 1); // a locked grid says why it takes nothing
    QCOMPARE(r.w.model()->pendingRow(), -1);
}

// "退出" or the main window's close box: the row being edited is written first.
void tst_onduty::pendingRowIsWrittenWhenTheProgramCloses() {
    seed();
    frmmain m;
    m.show();
    m.findChild<QAction*>("onduty")->trigger();
    auto* form = qobject_cast<Frmonduty*>(m.child(WindowId::Frmonduty));
    testkit::clickTool(form, Frmonduty::Modify);
    auto* grid = form->findChild<QTableView*>("DBGrid1");
    QVERIFY(grid->model()->setData(grid->model()->index(2, 2), "雨天改室内"));
    m.close();
    QCOMPARE(stored().at(2).at(2), QString("雨天改室内"));
    QVERIFY(m_messages->all.isEmpty());
}

void tst_onduty::widthsResetOnActivation() {
    Rota r;
    r.grid()->setColumnWidth(0, 33);
    r.grid()->setColumnWidth(2, 44);
    r.w.Form_Activate();
    QCOMPARE(r.grid()->columnWidth(0), 100);
    QCOMPARE(r.grid()->columnWidth(1), 300);
    QCOMPARE(r.grid()->columnWidth(2), 200);
}

void tst_onduty::fixedSizeCentredWithFrameBelowCentre() {
    frmmain m;
    m.resize(1100, 800);
    m.show();
    m.findChild<QAction*>("onduty")->trigger();
    QWidget* form = m.child(WindowId::Frmonduty);
    auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    QCOMPARE(sub->size(), QSize(700, 500));
    sub->resize(900, 650); // the user drags the border: it snaps back
    QCOMPARE(sub->size(), QSize(700, 500));
    const QSize client = m.area()->viewport()->size();
    QCOMPARE(sub->pos(), QPoint((client.width() - 700) / 2, (client.height() - 500) / 2));
    m.resize(1250, 760); // the main window grows: the rota stays centred in it
    const QSize larger = m.area()->viewport()->size();
    QCOMPARE(sub->pos(), QPoint((larger.width() - 700) / 2, (larger.height() - 500) / 2));
    QWidget* frame = form->findChild<QWidget*>("Frame1");
    QCOMPARE(frame->y(), (form->height() - frame->height()) / 2 + 10);
    // Activation sets the widths again.
    form->findChild<QTableView*>("DBGrid1")->setColumnWidth(1, 12);
    m.findChild<QAction*>("cahier")->trigger();
    m.findChild<QAction*>("onduty")->trigger();
    QCOMPARE(form->findChild<QTableView*>("DBGrid1")->columnWidth(1), 300);
}

// More rows than a query fetches at once are on screen, and another program's write still goes through.
void tst_onduty::rotaNeverHoldsTheFileLocked() {
    testkit::exec(store::kRosterFile, "with recursive n(i) as (select 1 union all select i+1 from n where i<600) "
                                      "insert into tabonduty select 'w'||i,'t','' from n");
    Rota r;
    QCOMPARE(r.rows(), 600);
    testkit::exec(store::kRosterFile, "insert into tabonduty values ('x','y','z')");
    QCOMPARE(stored().size(), 601);
}

QTEST_MAIN(tst_onduty)
#include "tst_onduty.moc"
