#pragma once

#include <ui/childform.h>

#include <QUrl>

#include <memory>

namespace Ui {
class Frmhelp;
}

// The help viewer: the local help page of the program's own folder. It follows links to pages of
// the help folder only: a link out of it (another file, a remote address) is not followed. Its one
// control is that of frmhelp.ui.
class Frmhelp : public ui::ChildForm {
    Q_OBJECT
public:
    explicit Frmhelp(QWidget* parent = nullptr);
    ~Frmhelp() override;

    // The help page of a program folder, with exactly one separator before "help".
    static QString helpPath(const QString& folder);
    // True when url is a file in helpFolder (or below it), symbolic links resolved.
    static bool insideHelp(const QUrl& url, const QString& helpFolder);
    QSize sizeHint() const override;

    void WebBrowser1_AnchorClicked(const QUrl& link);

protected:
    void Form_Resize() override;
    void showEvent(QShowEvent* e) override;

private:
    std::unique_ptr<Ui::Frmhelp> m_form;
    bool m_shown = false;
};
