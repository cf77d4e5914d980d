#pragma once

#include <ui/childform.h>

#include <memory>

namespace Ui {
class Frmsystem;
}

// The school's own details: name, telephone, address and e-mail, kept in "uinfo.dat". Its
// controls are those of frmsystem.ui.
class Frmsystem : public ui::ChildForm {
    Q_OBJECT
public:
    explicit Frmsystem(QWidget* parent = nullptr);
    ~Frmsystem() override;

    void Command1_Click();
    void Command2_Click();
    void cmdexit_Click();

protected:
    void Form_Resize() override;

private:
    void Form_Load();

    std::unique_ptr<Ui::Frmsystem> m_form;
};
