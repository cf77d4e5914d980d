#pragma once

#include <QLabel>
#include <QWidget>

class QFrame;

// A transparent hot spot over one entry name of the launcher picture.
class HotSpot : public QLabel {
    Q_OBJECT
public:
    HotSpot(int index, QWidget* parent);

signals:
    void pressed(int index);
    void moved(int index);
    void released(int index);
    void clicked(int index); // the left button pressed and released inside the label

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int m_index;
    bool m_down = false;
};

// The launcher panel: the picture with the five record books, filling the main window between
// two tasks. A press or click on an entry name asks the main window to open that book.
class Frmbg : public QWidget {
    Q_OBJECT
public:
    explicit Frmbg(QWidget* parent = nullptr);

    void Form_Resize();
    void LabelN_MouseDown(int n);
    void LabelN_MouseMove(int n);
    void LabelN_MouseUp(int n);
    void LabelN_Click(int n);

signals:
    // Entry n (1 to 5) asks to open its book: 1 and 2 on the press, 3 to 5 on a click.
    void labelOpens(int n);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    QWidget* Frame1;
    QLabel* Image1;
    HotSpot* m_labels[5];
    QFrame* m_lines[5];
};
