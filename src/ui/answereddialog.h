#pragma once

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>
#include <functional>
#include <initializer_list>

namespace ui {

// A dialog of the program's own that a test can answer in place of a person: run() shows it
// and waits, or hands it to the hook installed for its class and returns the hook's answer.
template <class Dialog> class AnsweredDialog : public QDialog {
public:
    using QDialog::QDialog;
    using Hook = std::function<int(Dialog& dialog)>;
    static void setHook(Hook h) { hook() = std::move(h); }
    int run() { return hook() ? hook()(static_cast<Dialog&>(*this)) : exec(); }

protected:
    // A button at the left of the foot row that ends the dialog with result.
    struct Choice {
        const char* name;
        QString caption;
        int result;
    };
    // The foot row of the dialog: the choices on the left, "确　定" (cmdok, which the dialog
    // connects itself and is returned) and "取　消" (cmdcancel, rejecting) on the right.
    QPushButton* addButtonRow(QBoxLayout* layout, std::initializer_list<Choice> choices) {
        auto* row = new QHBoxLayout;
        for (const Choice& c : choices) {
            auto* b = new QPushButton(c.caption, this);
            b->setObjectName(c.name);
            QObject::connect(b, &QPushButton::clicked, this, [this, result = c.result] { this->done(result); });
            row->addWidget(b);
        }
        row->addStretch();
        auto* ok = new QPushButton(QStringLiteral("确　定"), this);
        ok->setObjectName("cmdok");
        auto* cancel = new QPushButton(QStringLiteral("取　消"), this);
        cancel->setObjectName("cmdcancel");
        QObject::connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        row->addWidget(ok);
        row->addWidget(cancel);
        layout->addLayout(row);
        return ok;
    }

private:
    static Hook& hook() {
        static Hook h;
        return h;
    }
};

} // namespace ui
