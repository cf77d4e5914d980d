#include "frmlogin.h"

#include "frmmain.h"
#include "ui_frmlogin.h"

#include <admin/frmpassword.h>
#include <store/accounts.h>
#include <store/catalogue.h>
#include <store/database.h>
#include <store/openings.h>
#include <ui/enterfocus.h>
#include <ui/errortext.h>
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

frmLogin::frmLogin(QWidget* parent) : QWidget(parent), m_form(new Ui::frmLogin) {
    // The form's buttons press on Enter only when focused (autoDefault, never from a text box: the
    // window is no dialog), and the password box shows each character as "*".
    m_form->setupUi(this);
    // What the form cannot say: the icon in all its sizes, the fractional sizes of the two captions.
    setWindowIcon(ui::appIcon());
    ui::setPointSize(14.25, {m_form->lblLabels_0, m_form->lblLabels_1});
    if (QScreen* screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));

    ui::moveFocusOnEnter(m_form->txtUserName);
    ui::moveFocusOnEnter(m_form->txtPassword);
    connect(m_form->cmdok, &QPushButton::clicked, this, &frmLogin::cmdok_Click);
    connect(m_form->cmdcancel, &QPushButton::clicked, this, &frmLogin::cmdcancel_Click);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, m_form->cmdcancel, &QPushButton::click);
    m_form->txtUserName->setFocus();
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

namespace {

// Without its user file the program was most likely started outside its folder (a hand-made
// shortcut, a start from another folder): how to start it right.
QString howToStart() {
#ifdef Q_OS_WIN
    return QStringLiteral("软件没有在它自己的文件夹中启动。请用“开始”菜单或桌面上的“Lumno校务管理软件”快捷方式"
                          "启动软件（自己建立的快捷方式，“起始位置”要填 lumno.exe 所在的文件夹）。");
#else
    return QStringLiteral("软件没有在它的数据文件夹中启动。请用启动命令 lumno（或应用程序菜单中的"
                          "“Lumno校务管理软件”）启动软件。");
#endif
}

} // namespace

void frmLogin::cmdok_Click() {
    if (const int wait = m_guard.secondsLeft()) {
        ui::notify(this, QStringLiteral("登录失败的次数太多，请 %1 秒后再试。").arg(wait), ui::Warning);
        return;
    }
    const QString name = m_form->txtUserName->text(), password = m_form->txtPassword->text();
    bool signedIn = false;
    try {
        signedIn = store::signIn(name, password);
    } catch (const store::Error& e) {
        QString text = QStringLiteral("无法读取用户表，不能登录。\n") + ui::describe(e);
        if (e.kind() == store::Error::Missing) text += "\n" + howToStart();
        ui::notify(this, text, ui::Warning);
        return;
    }
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
