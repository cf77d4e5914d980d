#pragma once

#include "window.h"

#include <ui/childform.h>

#include <array>
#include <memory>

class QFrame;
class QLabel;
namespace Ui {
class Frmbg;
}

// The five entries of the launcher, in the order of their labels: the first is Label1 with
// Line1 of frmbg.ui, and so on. The form lays each label over its name in the picture and its
// line under the name.
struct LauncherEntry {
    // What becomes of the panel before the book opens.
    enum Panel { Unloaded, Stays, Hidden };
    const char* name; // the entry's name, drawn in the picture
    WindowId target;  // the window it opens
    bool onPress;     // opens on the press of any button; otherwise on a click of the left one
    Panel panel;
};
inline constexpr LauncherEntry kLauncherEntries[5] = {
    {"会议记录", WindowId::Frmcahier, true, LauncherEntry::Unloaded},
    {"学校事历", WindowId::Frmnote, true, LauncherEntry::Stays},
    {"值周安排", WindowId::Frmonduty, false, LauncherEntry::Hidden},
    {"教师通讯录", WindowId::Frmaddlist, false, LauncherEntry::Hidden},
    {"教师考勤", WindowId::frmteacher, false, LauncherEntry::Hidden},
};

// The launcher panel: the picture with the five record books, filling the main window between
// two tasks. The picture and its entries scale with the panel, keeping their proportions. A press or click on an entry
// name asks the main window to open that book. Its controls are those of frmbg.ui.
class Frmbg : public ui::ChildForm {
    Q_OBJECT
public:
    explicit Frmbg(QWidget* parent = nullptr);
    ~Frmbg() override;

    // The mouse on entry n (1 to 5).
    void LabelN_MouseDown(int n);
    void LabelN_MouseMove(int n);
    void LabelN_MouseUp(int n);
    void LabelN_Click(int n);

signals:
    // Entry n (1 to 5) asks to open its book (kLauncherEntries[n - 1]).
    void labelOpens(int n);

protected:
    void Form_Resize() override;
    void focusOutEvent(QFocusEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::Frmbg> m_form;
    std::array<QLabel*, 5> m_labels;
    std::array<QFrame*, 5> m_lines;
    // The designed geometry of the picture and of every label and line over it, which the
    // panel scales with its size.
    QSize m_picture;
    std::array<QRect, 5> m_labelRects;
    std::array<QRect, 5> m_lineRects;
    std::array<bool, 5> m_down{}; // the left button went down on the label and is not yet up
};
