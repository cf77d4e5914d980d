#include "frmhelp.h"

#include "ui_frmhelp.h"

#include <ui/twips.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

Frmhelp::Frmhelp(QWidget* parent) : ui::ChildForm(parent), m_form(new Ui::Frmhelp) {
    m_form->setupUi(this);
    m_form->WebBrowser1->setOpenLinks(false);
    connect(m_form->WebBrowser1, &QTextBrowser::anchorClicked, this, &Frmhelp::WebBrowser1_AnchorClicked);
    // Form_Load: the page beside the program, or what is missing.
    const QString page = helpPath(QCoreApplication::applicationDirPath());
    if (QFileInfo(page).isFile()) {
        m_form->WebBrowser1->setSource(QUrl::fromLocalFile(page));
    } else {
        m_form->WebBrowser1->setHtml(QString("<h2>找不到帮助文件</h2><p>帮助页面“%1”不存在。请把程序文件夹中的"
                                             " help 文件夹恢复完整后再打开帮助。</p>")
                                         .arg(QDir::toNativeSeparators(page).toHtmlEscaped()));
    }
}

Frmhelp::~Frmhelp() = default;

// QDir joins with one separator, also after a drive's root folder, and the result is written
// the system's way: C:\help\help.htm for a program in the root of drive C: on Windows.
QString Frmhelp::helpPath(const QString& folder) {
    return QDir::toNativeSeparators(QDir(folder).filePath("help/help.htm"));
}

bool Frmhelp::insideHelp(const QUrl& url, const QString& helpFolder) {
    if (!url.isLocalFile()) return false;
    const QString file = QFileInfo(url.toLocalFile()).canonicalFilePath();
    const QString folder = QFileInfo(helpFolder).canonicalFilePath();
    if (file.isEmpty() || folder.isEmpty()) return false;
#ifdef Q_OS_WIN
    return file.startsWith(folder + '/', Qt::CaseInsensitive);
#else
    return file.startsWith(folder + '/');
#endif
}

void Frmhelp::WebBrowser1_AnchorClicked(const QUrl& link) {
    const QUrl url = m_form->WebBrowser1->source().resolved(link);
    if (insideHelp(url, QFileInfo(helpPath(QCoreApplication::applicationDirPath())).path()))
        m_form->WebBrowser1->setSource(url);
}

// The size the window is restored to from maximised: the browser's designed size and its margins.
QSize Frmhelp::sizeHint() const { return QSize(ui::twips(7455 + 100), ui::twips(6255 + 100)); }

// The browser fills the window with a margin of 50 twips on every side.
void Frmhelp::Form_Resize() {
    const int w = qMax(0, width() - ui::twips(100));
    const int h = qMax(0, height() - ui::twips(100));
    m_form->WebBrowser1->setGeometry((width() - w) / 2, (height() - h) / 2, w, h);
}

// The page opens at its top, whatever the first layout passes scrolled.
void Frmhelp::showEvent(QShowEvent* e) {
    ui::ChildForm::showEvent(e);
    if (m_shown) return;
    m_shown = true;
    QTimer::singleShot(0, m_form->WebBrowser1, [b = m_form->WebBrowser1] { b->verticalScrollBar()->setValue(0); });
}
