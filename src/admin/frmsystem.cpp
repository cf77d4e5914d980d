#include "frmsystem.h"

#include "ui_frmsystem.h"

#include <store/openings.h>
#include <ui/childframe.h>
#include <ui/controls.h>
#include <ui/fonts.h>
#include <ui/notify.h>

#include <QLineEdit>
#include <QPushButton>

Frmsystem::Frmsystem(QWidget* parent) : ui::ChildForm(parent), m_form(new Ui::Frmsystem) {
    m_form->setupUi(this);
    // What the form cannot say: the title's fractional size, which it is then fitted to, and
    // the school's data readable before "修　改".
    ui::setPointSize(14.25, {m_form->Label1});
    m_form->Label1->adjustSize();
    for (QLineEdit* box : {m_form->Text1, m_form->Text2, m_form->Text3, m_form->Text4})
        ui::keepLegibleWhenDisabled(box);

    connect(m_form->Command1, &QPushButton::clicked, this, &Frmsystem::Command1_Click);
    connect(m_form->Command2, &QPushButton::clicked, this, &Frmsystem::Command2_Click);
    connect(m_form->cmdexit, &QPushButton::clicked, this, &Frmsystem::cmdexit_Click);
    Form_Load();
}

Frmsystem::~Frmsystem() = default;

void Frmsystem::Form_Load() {
    attempt(QStringLiteral("无法读取学校信息。"), [this] {
        // With several rows the last one's values remain, as the table is read in order.
        const store::RecordSet rs = store::OpenSchoolTable();
        for (const QStringList& row : rs.rows()) {
            ui::setText(m_form->Text1, row.value(0));
            ui::setText(m_form->Text2, row.value(1));
            ui::setText(m_form->Text3, row.value(2));
            ui::setText(m_form->Text4, row.value(3));
        }
    });
}

// The window keeps its designed outer size, centred in the main window.
void Frmsystem::Form_Resize() { ui::fixAndCentre(this, 6000, 4215); }

void Frmsystem::Command1_Click() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_form->Text1, m_form->Text2, m_form->Text3, m_form->Text4, m_form->Command2})
        w->setEnabled(true);
}

void Frmsystem::Command2_Click() {
    const QString name = m_form->Text1->text(), address = m_form->Text3->text(), phone = m_form->Text2->text(),
                  email = m_form->Text4->text();
    const bool saved =
        attempt(QStringLiteral("学校信息没有保存。"), [&] { store::saveSchool(name, phone, address, email); });
    if (!saved) return;
    ui::notify(this, QStringLiteral("保存成功！"), ui::Information);
}

void Frmsystem::cmdexit_Click() { emit backRequested(); }
