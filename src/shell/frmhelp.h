#pragma once

#include <QWidget>

class QTextBrowser;

// The help viewer: the local help page of the program's own folder.
class Frmhelp : public QWidget {
    Q_OBJECT
public:
    explicit Frmhelp(QWidget* parent = nullptr);

    // The help page of a program folder, with exactly one separator before "help".
    static QString helpPath(const QString& folder);
    void Form_Resize();
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    QTextBrowser* WebBrowser1;
    bool m_shown = false;
};
