#include "frmreport.h"

#include "ui_frmreport.h"

#include <store/attendancedate.h>
#include <ui/choosepath.h>
#include <ui/controls.h>
#include <ui/notify.h>

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QScrollBar>

namespace {

const QString kAll = QStringLiteral("（全部）");

QString boxName(const QLabel* label) { return label->text().remove(QStringLiteral("：")).remove(QChar(0x3000)); }

} // namespace

Frmreport::Frmreport(QWidget* parent)
    : ui::ChildForm(parent), m_form(new Ui::Frmreport), m_printer(new QPrinter(QPrinter::HighResolution)) {
    m_form->setupUi(this);
    m_form->pages->setStretchFactor(m_form->preview, 1);
    connect(m_form->preview, &PagePreview::previewChanged, this, &Frmreport::showPage);
    connect(m_form->cmdprevious, &QPushButton::clicked, this,
            [this] { m_form->preview->setCurrentPage(m_form->preview->currentPage() - 1); });
    connect(m_form->cmdnext, &QPushButton::clicked, this,
            [this] { m_form->preview->setCurrentPage(m_form->preview->currentPage() + 1); });
    connect(m_form->cmdzoomin, &QPushButton::clicked, this, [this] { m_form->preview->zoomIn(); });
    connect(m_form->cmdzoomout, &QPushButton::clicked, this, [this] { m_form->preview->zoomOut(); });
    connect(m_form->cmdprint, &QPushButton::clicked, this, &Frmreport::cmdprint_Click);
    connect(m_form->cmdpdf, &QPushButton::clicked, this, &Frmreport::cmdpdf_Click);
    connect(m_form->cmdexcel, &QPushButton::clicked, this, &Frmreport::cmdexcel_Click);
    connect(m_form->cmdexit, &QPushButton::clicked, this, &Frmreport::cmdexit_Click);
    Form_Load();
    connect(m_form->lstreport, &QListWidget::currentRowChanged, this, [this] {
        showConditions();
        refresh();
    });
    connect(m_form->txtfrom, &QLineEdit::editingFinished, this, &Frmreport::refresh);
    connect(m_form->txtto, &QLineEdit::editingFinished, this, &Frmreport::refresh);
    connect(m_form->comteacher, &QComboBox::currentIndexChanged, this, &Frmreport::refresh);
    connect(m_form->comtheme, &QComboBox::currentIndexChanged, this, &Frmreport::refresh);
    connect(m_form->chkpage, &QCheckBox::toggled, this, &Frmreport::refresh);
}

Frmreport::~Frmreport() = default;

void Frmreport::Form_Load() {
    for (store::ReportKind kind : store::reportKinds()) m_form->lstreport->addItem(store::reportTitle(kind));
    // The list keeps its titles whole, also with a scroll bar on a low screen; the preview gives way.
    QListWidget* list = m_form->lstreport;
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                          list->verticalScrollBar()->sizeHint().width());
    QDate from, to;
    store::lastWholeMonth(&from, &to);
    ui::setText(m_form->txtfrom, attendance::boxText(from));
    ui::setText(m_form->txtto, attendance::boxText(to));
    m_form->comteacher->addItem(kAll);
    m_form->comtheme->addItem(kAll);
    attempt(QStringLiteral("无法读取教师和会议主题。"), [this] {
        m_form->comteacher->addItems(store::attendanceTeachers());
        m_form->comtheme->addItems(store::minuteThemes());
    });
    m_form->lstreport->setCurrentRow(0);
    showConditions();
    refresh();
}

// Only the conditions the chosen report takes are shown.
void Frmreport::showConditions() {
    store::ReportKind kind = store::ReportKind::AddressBook;
    if (m_form->lstreport->currentItem()) store::reportKindOf(m_form->lstreport->currentItem()->text(), &kind);
    const bool dates = store::takesDates(kind), theme = store::takesTheme(kind);
    for (QWidget* w : {static_cast<QWidget*>(m_form->labfrom), static_cast<QWidget*>(m_form->txtfrom),
                       static_cast<QWidget*>(m_form->labto), static_cast<QWidget*>(m_form->txtto),
                       static_cast<QWidget*>(m_form->labteacher), static_cast<QWidget*>(m_form->comteacher)})
        w->setVisible(dates);
    for (QWidget* w : {static_cast<QWidget*>(m_form->labtheme), static_cast<QWidget*>(m_form->comtheme),
                       static_cast<QWidget*>(m_form->chkpage)})
        w->setVisible(theme);
}

bool Frmreport::readConditions(store::ReportRequest* q) {
    if (!m_form->lstreport->currentItem() || !store::reportKindOf(m_form->lstreport->currentItem()->text(), &q->kind))
        return false;
    if (store::takesDates(q->kind)) {
        auto date = [this](QLineEdit* box, QLabel* label, QDate* d) {
            if (box->text().trimmed().isEmpty()) return true; // no bound
            *d = attendance::readDate(box->text());
            if (d->isValid()) return true;
            ui::notify(this,
                       QStringLiteral("“%1”中的日期无法识别。").arg(boxName(label)) +
                           attendance::unreadableDateMessage().section(QStringLiteral("。"), 1),
                       ui::Warning);
            box->setFocus();
            return false;
        };
        if (!date(m_form->txtfrom, m_form->labfrom, &q->from) || !date(m_form->txtto, m_form->labto, &q->to))
            return false;
        if (q->from.isValid() && q->to.isValid() && q->to < q->from) {
            ui::notify(
                this,
                QStringLiteral("“%1”早于“%2”，请更正“%1”。").arg(boxName(m_form->labto), boxName(m_form->labfrom)),
                ui::Warning);
            m_form->txtto->setFocus();
            return false;
        }
        if (m_form->comteacher->currentIndex() > 0) q->teacher = m_form->comteacher->currentText();
    }
    if (store::takesTheme(q->kind)) {
        if (m_form->comtheme->currentIndex() > 0) q->theme = m_form->comtheme->currentText();
        q->pagePerRecord = m_form->chkpage->isChecked();
    }
    return true;
}

bool Frmreport::refresh() {
    if (m_busy) return false;           // the report stays as it is while its pages are being made
    m_form->preview->setPages(nullptr); // they refer to the report
    store::ReportRequest q;
    m_valid = readConditions(&q) && attempt(QStringLiteral("无法生成报表。"), [&] { m_report = store::makeReport(q); });
    if (!m_valid) m_report = store::Report();
    // The preview lays the pages out on a printer of its own and paints them as they are shown.
    report::setUpPage(m_printer.get(), m_report);
    m_form->preview->setPages(std::make_unique<report::Pages>(m_report, m_printer.get()), m_printer->pageLayout(),
                              m_printer->resolution());
    return m_valid;
}

int Frmreport::pageCount() const { return m_form->preview->pageCount(); }

void Frmreport::showPage() {
    m_form->labpage->setText(
        QStringLiteral("第 %1 页 共 %2 页").arg(m_form->preview->currentPage()).arg(m_form->preview->pageCount()));
}

bool Frmreport::withProgress(const QString& what, const std::function<bool(const report::Progress&)>& work) {
    // The dialog lets events through: nothing may change the report meanwhile.
    m_busy = true;
    const auto idleAgain = qScopeGuard([this] { m_busy = false; });
    QProgressDialog dialog(what, QStringLiteral("取消"), 0, 0, this);
    dialog.setWindowTitle(QStringLiteral("打印报表"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(1000); // shown only for work that takes longer
    return work([&dialog](int done, int total) {
        dialog.setMaximum(total);
        dialog.setValue(done);
        return !dialog.wasCanceled();
    });
}

void Frmreport::cmdprint_Click() {
    if (!m_valid || m_busy) return;
    QPrinter printer(QPrinter::HighResolution);
    report::setUpPage(&printer, m_report);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    withProgress(QStringLiteral("正在打印…"),
                 [&](const report::Progress& p) { return report::paintAll(m_report, &printer, p); });
}

void Frmreport::cmdpdf_Click() { save(report::Format::Pdf); }
void Frmreport::cmdexcel_Click() { save(report::Format::Xlsx); }

void Frmreport::save(report::Format preferred) {
    if (!m_valid || m_busy) return;
    const bool pdf = preferred == report::Format::Pdf;
    const QString start = QDir::home().filePath(m_report.title + (pdf ? ".pdf" : ".xlsx"));
    const QString path = ui::choosePath(
        this, pdf ? QStringLiteral("存为PDF") : QStringLiteral("导出Excel"), start, ui::PathKind::NewFile,
        pdf ? QStringLiteral("PDF 文件 (*.pdf)") : QStringLiteral("Excel 工作簿 (*.xlsx);;CSV (逗号分隔) (*.csv)"));
    if (path.isEmpty()) return;
    const report::Format format = pdf ? report::Format::Pdf : report::formatOf(path);
    report::Outcome outcome;
    withProgress(QStringLiteral("正在写入文件…"), [&](const report::Progress& p) {
        outcome = report::writeFile(m_report, format, path, p);
        return outcome.written;
    });
    if (outcome.written)
        ui::notify(this, QStringLiteral("报表已保存到“%1”。").arg(QDir::toNativeSeparators(path)), ui::Information);
    else if (!outcome.error.isEmpty())
        ui::notify(this, outcome.error + QStringLiteral("\n报表没有保存。"), ui::Warning);
}

void Frmreport::cmdexit_Click() { emit backRequested(); }
