#include "frmsystem.h"

#include <store/catalogue.h>
#include <store/openings.h>
#include <store/statements.h>
#include <ui/childframe.h>
#include <ui/controls.h>
#include <ui/fonts.h>
#include <ui/notify.h>
#include <ui/twips.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using ui::place;

Frmsystem::Frmsystem(QWidget* parent) : ui::ChildForm(parent) {
    setObjectName("Frmsystem");
    setWindowTitle(QStringLiteral("系统设定"));
    resize(ui::twips(6000), ui::twips(4215));

    auto label = [this](const char* name, const QString& text, double l, double t, double w, double h) {
        auto* lb = new QLabel(text, this);
        lb->setObjectName(name);
        lb->setFont(ui::song(12));
        place(lb, l, t, w, h);
        return lb;
    };
    auto box = [this](const char* name, double l, double t, double w, double h) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setFont(ui::song(12));
        e->setEnabled(false);
        ui::keepLegibleWhenDisabled(e); // the school's data stays readable before "修　改"
        place(e, l, t, w, h);
        return e;
    };
    auto button = [this](const char* name, const QString& text, double l) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setFont(ui::song(12));
        b->setAutoDefault(true);
        place(b, l, 3000, 1215, 495);
        return b;
    };
    QLabel* title = label("Label1", QStringLiteral("Lumno校务管理软件系统设置"), 840, 360, 3840, 285);
    title->setFont(ui::song(14.25, true));
    title->adjustSize();
    label("Label2", QStringLiteral("学校名称："), 360, 1080, 1200, 240);
    Text1 = box("Text1", 1560, 960, 3735, 375);
    Command1 = button("Command1", QStringLiteral("修　改"), 480);
    label("Label3", QStringLiteral("电　　话："), 360, 1560, 1200, 240);
    Text2 = box("Text2", 1560, 1440, 2175, 375);
    label("Label4", QStringLiteral("地　　址："), 360, 2040, 1200, 240);
    Text3 = box("Text3", 1560, 1920, 3735, 375);
    label("Label5", QStringLiteral("E－mail:"), 360, 2520, 960, 240);
    Text4 = box("Text4", 1560, 2400, 3735, 375);
    Command2 = button("Command2", QStringLiteral("保　存"), 2280);
    Command2->setEnabled(false);
    cmdexit = button("cmdexit", QStringLiteral("返 回"), 4080);

    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Text4);
    setTabOrder(Text4, Command2);
    setTabOrder(Command2, cmdexit);
    connect(Command1, &QPushButton::clicked, this, &Frmsystem::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Frmsystem::Command2_Click);
    connect(cmdexit, &QPushButton::clicked, this, &Frmsystem::cmdexit_Click);
    Form_Load();
}

void Frmsystem::Form_Load() {
    attempt(QStringLiteral("无法读取学校信息。"), [this] {
        // With several rows the last one's values remain, as the table is read in order.
        const store::RecordSet rs = store::OpenSchoolTable();
        for (const QStringList& row : rs.rows()) {
            ui::setText(Text1, row.value(0));
            ui::setText(Text2, row.value(1));
            ui::setText(Text3, row.value(2));
            ui::setText(Text4, row.value(3));
        }
    });
}

// The window keeps its designed outer size, centred in the main window.
void Frmsystem::Form_Resize() { ui::fixAndCentre(this, 6000, 4215); }

void Frmsystem::Command1_Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{Text1, Text2, Text3, Text4, Command2}) w->setEnabled(true);
}

void Frmsystem::Command2_Click() {
    const QString name = Text1->text(), address = Text3->text(), phone = Text2->text(), email = Text4->text();
    const bool saved = attempt(QStringLiteral("学校信息没有保存。"), [&] {
        store::Database db(store::kUserFile);
        const bool empty = db.openRecordset("select * from tabel2").isEmpty();
        db.execute(empty ? store::schoolInsert(name, phone, address, email)
                         : store::schoolUpdate(name, phone, address, email));
    });
    if (!saved) return;
    ui::notify(this, QStringLiteral("保存成功！"), ui::Information);
}

void Frmsystem::cmdexit_Click() { emit backRequested(); }
