#pragma once

#include <ui/childform.h>

#include <memory>

namespace Ui {
class Frmhelp;
}

// The help viewer: the local help page of the program's own folder. Its one control is that of
// frmhelp.ui.
class Frmhelp : public ui::ChildForm {
    Q_OBJECT
public:
    explicit Frmhelp(QWidget* parent = nullptr);
    ~Frmhelp() override;

    // The help page of a program folder, with exactly one separator before "help".
    static QString helpPath(const QString& folder);
    QSize sizeHint() const override;

protected:
    void Form_Resize() override;
    void showEvent(QShowEvent* e) override;

private:
    std::unique_ptr<Ui::Frmhelp> form;
    bool m_shown = false;
};
