#include "controls.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTableView>

namespace ui {

namespace {

// Rows of a drop-down list with room above and below the glyphs.
class RoomyRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(qMax(size.height(), option.fontMetrics.height() + 8));
        return size;
    }
};

} // namespace

void setText(QLineEdit* box, const QString& text) {
    // The designed limit caps what a person types or pastes, never a value read from the file:
    // a longer one is shown whole (and then only cannot grow).
    static const char* const designed = "lumnoDesignedMaxLength";
    if (!box->property(designed).isValid()) box->setProperty(designed, box->maxLength());
    box->setMaxLength(qMax(box->property(designed).toInt(), int(text.size())));
    box->setText(text);
    box->setCursorPosition(0);
}

void setText(QComboBox* box, const QString& text) {
    if (text.isEmpty()) box->setCurrentIndex(-1);
    box->setEditText(text);
    if (QLineEdit* line = box->lineEdit()) line->setCursorPosition(0);
}

void setUpCombo(QComboBox* box) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setItemDelegate(new RoomyRows(box));
    QObject::connect(box, &QComboBox::currentIndexChanged, box, [box] {
        if (QLineEdit* line = box->lineEdit()) line->setCursorPosition(0);
    });
}

void keepRowHeaderWidth(QTableView* grid, const QString& widest) {
    QHeaderView* header = grid->verticalHeader();
    QStyleOptionHeader option;
    option.initFrom(header);
    option.orientation = Qt::Vertical;
    option.text = widest;
    const QSize size = header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header);
    // Two pixels to spare: a mark drawn from a fallback font (✎ on Windows) can come out a pixel
    // wider than measured here.
    header->setMinimumWidth(size.width() + 2);
}

void keepLegibleWhenDisabled(QWidget* box) {
    QPalette palette = box->palette();
    const QColor text = palette.color(QPalette::Active, QPalette::Text);
    const QColor base = palette.color(QPalette::Disabled, QPalette::Base);
    // Three quarters of the ordinary text colour: plainly readable, a shade softer than when enabled.
    const QColor soft((text.red() * 3 + base.red()) / 4, (text.green() * 3 + base.green()) / 4,
                      (text.blue() * 3 + base.blue()) / 4);
    palette.setColor(QPalette::Disabled, QPalette::Text, soft);
    box->setPalette(palette);
}

} // namespace ui
