#pragma once

#include <store/recordset.h>
#include <ui/childform.h>

#include <QVector>

class QComboBox;
class QLabel;
class QToolBar;
namespace ui {
class TextListModel;
}

// One window of an append-only book whose records are picked by theme: the meeting minutes and
// the school events. Records are added and deleted, never changed. Each book brings its own form
// and the few facts its form does not say.
class ThemeBook : public ui::ChildForm {
    Q_OBJECT
public:
    // The toolbar's buttons by index (1-based; separators take the indices between).
    enum Button { Add = 2, Save = 4, Delete = 6, Back = 8 };

    // What tells one book from the other, beside its form.
    struct Facts {
        QString table;
        QString file;         // the book's database file
        QString titleSuffix;  // after the school's name in the title
        double contentMargin; // txtcontent's height: the window's inner height less this (twips)
    };
    // An input Save requires between the theme and the content, with its warning.
    struct Required {
        QWidget* input;
        QString message;
    };

    void Toolbar1_ButtonClick(int index);
    bool showRecord(const QString& table, qint64 rowid, const QStringList& values) override;
    void Combo1_Click(int index);
    void Form_Resize() override;
    bool hasUnsavedInput() const override;

protected:
    // The controls of a book's form that the behaviour works on.
    struct Controls {
        QWidget* Frame1;
        QLabel* Label1_0;
        QWidget* Toolbar1; // the placeholder of the toolbar
        QComboBox* Combo1;
        // The inputs of the table's columns after the theme, in table order: txtcontent last.
        QVector<QWidget*> columns;
    };

    ThemeBook(const Facts& facts, QWidget* parent);
    // Takes the controls of a book's form, set up on the window, and the inputs Save requires in
    // the order it checks them, then loads the book.
    template <class Form>
    void open(const Form& form, const QVector<QWidget*>& columns, const QVector<Required>& required) {
        open({form.Frame1, form.Label1_0, form.Toolbar1, form.Combo1, columns}, required);
    }
    void open(const Controls& controls, const QVector<Required>& required);

private:
    void Form_Load();
    void LoadThemeList();
    void reloadList();
    void add();
    void save();
    void remove();
    void showRow(const store::RecordSet& rs);
    void emptyBoxes();
    void unlockForEntry();

    const Facts m_facts;
    Controls m_form;
    QVector<Required> m_required;
    store::RecordRef m_shown; // the record on screen, as read: Delete removes it alone
    bool m_adding = false;    // 增加 began a new entry, not yet saved
    QToolBar* Toolbar1 = nullptr;
    ui::TextListModel* m_themes = nullptr;
};
