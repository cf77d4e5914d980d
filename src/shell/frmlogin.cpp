#include "frmlogin.h"

#include "frmmain.h"
#include "ui_frmlogin.h"

#include <admin/frmpassword.h>
#include <store/accounts.h>
#include <store/catalogue.h>
#include <ui/enterfocus.h>
#include <ui/fonts.h>
#include <ui/notify.h>
#include <ui/pictures.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>

frmLogin::frmLogin(QWidget* parent) : QWidget(parent), form(new Ui::frmLogin) {
    // The form's buttons press on Enter only when focused (autoDefault, never from a text box: the
    // window is no dialog), and the password box shows each character as "*".
    form->setupUi(this);
    // What the form cannot say: the icon in all its sizes, the fractional sizes of the two captions.
    setWindowIcon(ui::appIcon());
    ui::setPointSize(14.25, {form->lblLabels_0, form->lblLabels_1});
    if (QScreen* screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));

    ui::moveFocusOnEnter(form->txtUserName);
    ui::moveFocusOnEnter(form->txtPassword);
    connect(form->cmdok, &QPushButton::clicked, this, &frmLogin::cmdok_Click);
    connect(form->cmdcancel, &QPushButton::clicked, this, &frmLogin::cmdcancel_Click);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, form->cmdcancel, &QPushButton::click);
    form->txtUserName->setFocus();
}

frmLogin::~frmLogin() = default;

void frmLogin::paintEvent(QPaintEvent*) {
    QPainter p(this);
    static const QPixmap background = ui::picture(QStringLiteral("login.png"));
    p.drawPixmap(0, 0, background);
}

bool frmLogin::matches(const store::RecordSet& users, const QString& name, const QString& password) {
    for (const QStringList& row : users.rows()) {
        if (row.size() < 2 || row.at(0).isNull() || row.at(1).isNull()) continue;
        if (row.at(0) == name && store::passwordMatches(row.at(1), password)) return true;
    }
    return false;
}

void frmLogin::cmdok_Click() {
    if (const int wait = m_guard.secondsLeft()) {
        ui::notify(this, QStringLiteral("登录失败的次数太多，请 %1 秒后再试。").arg(wait), ui::Warning);
        return;
    }
    const QString name = form->txtUserName->text(), password = form->txtPassword->text();
    bool signedIn = false;
    if (!ui::attempt(this, QStringLiteral("无法读取用户表，不能登录。"),
                     [&] { signedIn = store::signIn(name, password); }))
        return;
    if (!signedIn) {
        m_guard.failed();
        ui::notify(this, QStringLiteral("用户名或密码错误！"), ui::Warning);
        return;
    }
    m_guard.succeeded();
    auto* main = new frmmain;
    main->setUser(name);
    main->setAttribute(Qt::WA_DeleteOnClose);
    // Un-maximised, the window lies on the screen with room for its frame: never its title bar above.
    if (QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry().adjusted(16, 48, -16, -16);
        main->setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, main->size().boundedTo(room.size()), room));
    }
    main->showMaximized();
    hide();
    deleteLater();
    // A password anyone can guess (admin / admin as delivered) is to be changed at once, once the
    // main window shows; Cancel lets the person work, and the next login asks again.
    if (password == name)
        QTimer::singleShot(0, main,
                           [main, name] { admin::changepwd_Click(main, name, admin::factoryPasswordReason()); });
    emit mainWindowOpened(main);
}

void frmLogin::cmdcancel_Click() {
    hide();
    QCoreApplication::exit(0);
}
