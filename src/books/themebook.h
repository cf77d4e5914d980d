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

// What tells one append-only theme book (meeting minutes, school events) from the other.
struct ThemeBookDesign {
    struct Box {
        const char* name;      // objectName of the input
        const char* labelName; // objectName of its caption
        const char* caption;
        double captionLeft, captionTop;
        double left, top, width, height;
        bool multiLine; // a multi-line box (with a vertical scroll bar when scroll)
        bool scroll;
        int maxLength; // 0: no limit
        bool lockedAtLoad;
        bool unlockedByAddOrPick;
        const char* required; // the warning of Save when empty; nullptr: "无" when empty
    };
    const char* windowName;
    const char* caption;
    const char* table;
    const char* file; // the book's database file
    const char* titleSuffix;
    double frameLeft;
    double contentHeightMargin; // txtcontent Height = ScaleHeight - this
    double captionPoints;       // the field captions' size
    const char* themeCaption;
    double themeCaptionLeft, themeCaptionTop;
    double comboLeft, comboTop, comboWidth, comboHeight;
    QVector<Box> boxes; // positions 1 .. n-2 of the table, in table order
    double contentCaptionLeft, contentCaptionTop;
    double contentLeft, contentTop, contentWidth, contentHeight;
    QVector<const char*> requiredOrder; // objectNames in the order Save checks them
    QVector<const char*> tabOrder;      // objectNames
};

// One window of an append-only book whose records are picked by theme. Records are added and
// deleted, never changed.
class ThemeBook : public ui::ChildForm {
    Q_OBJECT
public:
    // The toolbar's buttons by index (1-based; separators take the indices between).
    enum Button { Add = 2, Save = 4, Delete = 6, Back = 8 };

    ThemeBook(const ThemeBookDesign& design, QWidget* parent);

    void Toolbar1_ButtonClick(int index);
    void Combo1_Click(int index);
    void Form_Resize() override;

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
    QWidget* input(const char* name) const;
    QString textOf(const char* name) const;

    const ThemeBookDesign& m_design;
    store::RecordRef m_shown; // the record on screen, as read: Delete removes it alone

    QWidget* Frame1;
    QLabel* Label1_0;
    QLabel* Label2;
    QToolBar* Toolbar1;
    QComboBox* Combo1;
    ui::TextListModel* m_themes;
    QVector<QWidget*> m_boxes; // in table order, txtcontent last
};
