#include "frmbg.h"

#include "ui_frmbg.h"

#include <ui/pictures.h>

#include <QMouseEvent>
#include <algorithm>

Frmbg::Frmbg(QWidget* parent) : ui::ChildForm(parent), m_form(new Ui::Frmbg) {
    ui::loadPictures(); // the form's picture
    m_form->setupUi(this);
    m_labels = {m_form->Label1, m_form->Label2, m_form->Label3, m_form->Label4, m_form->Label5};
    m_lines = {m_form->Line1, m_form->Line2, m_form->Line3, m_form->Line4, m_form->Line5};
    // What the form cannot say: the labels' cursor (the brush's tip is its hot spot), the lines
    // invisible at first, and the entries' names for screen readers.
    const QCursor cursor(ui::picture(QStringLiteral("hotspot.png")), 1, 1);
    for (int i = 0; i < 5; ++i) {
        m_labels[i]->setAttribute(Qt::WA_TranslucentBackground);
        m_labels[i]->setCursor(cursor);
        m_labels[i]->setAccessibleName(QString::fromUtf8(kLauncherEntries[i].name));
        m_labels[i]->installEventFilter(this);
        m_lines[i]->hide();
        m_labelRects[i] = m_labels[i]->geometry();
        m_lineRects[i] = m_lines[i]->geometry();
    }
    m_picture = m_form->Image1->size();
    m_form->Image1->setScaledContents(true);
    Form_Resize();
}

Frmbg::~Frmbg() = default;

// The picture fills the panel as far as its proportions allow, centred, whatever the main
// window's size and the screen's scale; each entry's label and line stay over its name.
void Frmbg::Form_Resize() {
    const double scale = qMin(double(width()) / m_picture.width(), double(height()) / m_picture.height());
    if (scale <= 0) return;
    const auto scaled = [scale](const QRect& r) {
        return QRect(qRound(r.x() * scale), qRound(r.y() * scale), qMax(1, qRound(r.width() * scale)),
                     qMax(1, qRound(r.height() * scale)));
    };
    const QSize picture = scaled(QRect(QPoint(), m_picture)).size();
    m_form->Image1->setGeometry(QRect(QPoint(), picture));
    for (int i = 0; i < 5; ++i) {
        m_labels[i]->setGeometry(scaled(m_labelRects[i]));
        m_lines[i]->setGeometry(scaled(m_lineRects[i]));
    }
    m_form->Frame1->setGeometry(
        QRect(QPoint((width() - picture.width()) / 2, (height() - picture.height()) / 2), picture));
}

void Frmbg::focusOutEvent(QFocusEvent*) { Form_Resize(); }

// A press (a double click included) and a release of any button on a label; a click is the left
// button's, pressed and released inside the label.
bool Frmbg::eventFilter(QObject* watched, QEvent* event) {
    const auto label = std::find(m_labels.begin(), m_labels.end(), watched);
    if (label == m_labels.end()) return ui::ChildForm::eventFilter(watched, event);
    const int i = int(label - m_labels.begin());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) m_down[i] = true;
        LabelN_MouseDown(i + 1);
        return true;
    case QEvent::MouseMove: LabelN_MouseMove(i + 1); return true;
    case QEvent::MouseButtonRelease: {
        const auto* e = static_cast<QMouseEvent*>(event);
        const bool left = e->button() == Qt::LeftButton;
        const bool click = left && m_down[i] && (*label)->rect().contains(e->position().toPoint());
        if (left) m_down[i] = false;
        LabelN_MouseUp(i + 1);
        if (click) LabelN_Click(i + 1);
        return true;
    }
    default: return ui::ChildForm::eventFilter(watched, event);
    }
}

void Frmbg::LabelN_MouseDown(int n) {
    m_labels[n - 1]->setFrameStyle(QFrame::Box | QFrame::Plain);
    if (kLauncherEntries[n - 1].onPress) emit labelOpens(n);
}

void Frmbg::LabelN_MouseMove(int n) { m_lines[n - 1]->show(); }

void Frmbg::LabelN_MouseUp(int n) { m_labels[n - 1]->setFrameStyle(QFrame::NoFrame); }

void Frmbg::LabelN_Click(int n) {
    if (!kLauncherEntries[n - 1].onPress) emit labelOpens(n);
}
