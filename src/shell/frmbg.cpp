#include "frmbg.h"

#include <ui/pictures.h>
#include <ui/twips.h>

#include <QFrame>
#include <QMouseEvent>

namespace {

// The five entries (twips): the label over the name in the picture, and the line under it.
const struct {
    double left, top, width, height;
    double x1, x2, y;
} kEntries[5] = {{720, 1800, 2055, 735, 840, 2640, 2400},
                 {3840, 3120, 1935, 735, 4080, 5640, 3720},
                 {1440, 5040, 2655, 735, 1800, 3720, 5640},
                 {8040, 1800, 2415, 855, 8160, 10320, 2400},
                 {8400, 5280, 2295, 735, 8640, 10440, 5880}};

} // namespace

HotSpot::HotSpot(int index, QWidget* parent) : QLabel(parent), m_index(index) {
    setObjectName(QString("Label%1").arg(index));
    setAttribute(Qt::WA_TranslucentBackground);
    setStyleSheet("background: transparent;");
    setMouseTracking(true);
    setCursor(QCursor(ui::picture(QStringLiteral("hotspot.png")), 1, 1)); // the brush's tip
    setFrameStyle(QFrame::NoFrame);
}

// A press and a release of any button; a click is the left button's, pressed and released inside.
void HotSpot::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) m_down = true;
    emit pressed(m_index);
}

void HotSpot::mouseMoveEvent(QMouseEvent*) { emit moved(m_index); }

void HotSpot::mouseReleaseEvent(QMouseEvent* e) {
    const bool click = e->button() == Qt::LeftButton && m_down && rect().contains(e->position().toPoint());
    if (e->button() == Qt::LeftButton) m_down = false;
    emit released(m_index);
    if (click) emit clicked(m_index);
}

Frmbg::Frmbg(QWidget* parent) : QWidget(parent) {
    setObjectName("Frmbg");
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(58, 74, 110));
    setPalette(pal);

    Frame1 = new QWidget(this);
    Frame1->setObjectName("Frame1");
    ui::place(Frame1, 0, 0, 10815, 8055);
    Image1 = new QLabel(Frame1);
    Image1->setObjectName("Image1");
    Image1->setPixmap(ui::picture(QStringLiteral("launcher.png")));
    ui::place(Image1, 0, 0, 12000, 7950);

    for (int i = 0; i < 5; ++i) {
        const auto& e = kEntries[i];
        m_lines[i] = new QFrame(Frame1);
        m_lines[i]->setObjectName(QString("Line%1").arg(i + 1));
        m_lines[i]->setStyleSheet("background-color: #1b2a8a;");
        m_lines[i]->setGeometry(ui::twips(e.x1), ui::twips(e.y) - 1, ui::twips(e.x2 - e.x1), 2);
        m_lines[i]->hide();
        m_labels[i] = new HotSpot(i + 1, Frame1);
        ui::place(m_labels[i], e.left, e.top, e.width, e.height);
        connect(m_labels[i], &HotSpot::pressed, this, &Frmbg::LabelN_MouseDown);
        connect(m_labels[i], &HotSpot::moved, this, &Frmbg::LabelN_MouseMove);
        connect(m_labels[i], &HotSpot::released, this, &Frmbg::LabelN_MouseUp);
        if (i >= 2) connect(m_labels[i], &HotSpot::clicked, this, &Frmbg::LabelN_Click);
    }
    Form_Resize();
}

// The picture stays centred in the panel, whatever the main window's size.
void Frmbg::Form_Resize() {
    Frame1->resize(Image1->size());
    Frame1->move((width() - Image1->width()) / 2, (height() - Image1->height()) / 2);
}

void Frmbg::resizeEvent(QResizeEvent*) { Form_Resize(); }
void Frmbg::showEvent(QShowEvent*) { Form_Resize(); }
void Frmbg::focusOutEvent(QFocusEvent*) { Form_Resize(); }

void Frmbg::LabelN_MouseDown(int n) {
    m_labels[n - 1]->setFrameStyle(QFrame::Box | QFrame::Plain);
    if (n <= 2) emit labelOpens(n);
}

void Frmbg::LabelN_MouseMove(int n) { m_lines[n - 1]->show(); }

void Frmbg::LabelN_MouseUp(int n) { m_labels[n - 1]->setFrameStyle(QFrame::NoFrame); }

void Frmbg::LabelN_Click(int n) {
    if (n >= 3) emit labelOpens(n);
}
