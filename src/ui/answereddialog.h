#pragma once

#include <QDialog>
#include <functional>

namespace ui {

// A dialog of the program's own that a test can answer in place of a person: run() shows it
// and waits, or hands it to the hook installed for its class and returns the hook's answer.
template <class Dialog> class AnsweredDialog : public QDialog {
public:
    using QDialog::QDialog;
    using Hook = std::function<int(Dialog& dialog)>;
    static void setHook(Hook h) { hook() = std::move(h); }
    int run() { return hook() ? hook()(static_cast<Dialog&>(*this)) : exec(); }

private:
    static Hook& hook() {
        static Hook h;
        return h;
    }
};

} // namespace ui
