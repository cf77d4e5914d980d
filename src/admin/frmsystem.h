#pragma once

#include <ui/childform.h>

class QLabel;
class QLineEdit;
class QPushButton;

// The school's own details: name, telephone, address and e-mail, kept in "uinfo.dat".
class Frmsystem : public ui::ChildForm {
    Q_OBJECT
public:
    explicit Frmsystem(QWidget* parent = nullptr);

    void Command1_Click();
    void Command2_Click();
    void cmdexit_Click();

protected:
    void Form_Resize() override;

private:
    void Form_Load();

    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLineEdit* Text4;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* cmdexit;
};
