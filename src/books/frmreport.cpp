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

namespace {

const QString kAll = QStringLiteral("（全部）");

QString boxName(const QLabel* label) { return label->text().remove(QStringLiteral("：")).remove(QChar(0x3000)); }

} // namespace

Frmreport::Frmreport(QWidget* parent)
    : ui::ChildForm(parent), form(new Ui::Frmreport), m_printer(new QPrinter(QPrinter::HighResolution)) {
    form->setupUi(this);
    form->pages->setStretchFactor(form->preview, 1);
    connect(form->preview, &PagePreview::previewChanged, this, &Frmreport::showPage);
    connect(form->cmdprevious, &QPushButton::clicked, this,
            [this] { form->preview->setCurrentPage(form->preview->currentPage() - 1); });
    connect(form->cmdnext, &QPushButton::clicked, this,
            [this] { form->preview->setCurrentPage(form->preview->currentPage() + 1); });
    connect(form->cmdzoomin, &QPushButton::clicked, this, [this] { form->preview->zoomIn(); });
    connect(form->cmdzoomout, &QPushButton::clicked, this, [this] { form->preview->zoomOut(); });
    connect(form->cmdprint, &QPushButton::clicked, this, &Frmreport::cmdprint_Click);
    connect(form->cmdpdf, &QPushButton::clicked, this, &Frmreport::cmdpdf_Click);
    connect(form->cmdexcel, &QPushButton::clicked, this, &Frmreport::cmdexcel_Click);
    connect(form->cmdexit, &QPushButton::clicked, this, &Frmreport::cmdexit_Click);
    Form_Load();
    connect(form->lstreport, &QListWidget::currentRowChanged, this, [this] {
        showConditions();
        refresh();
    });
    connect(form->txtfrom, &QLineEdit::editingFinished, this, &Frmreport::refresh);
    connect(form->txtto, &QLineEdit::editingFinished, this, &Frmreport::refresh);
    connect(form->comteacher, &QComboBox::currentIndexChanged, this, &Frmreport::refresh);
    connect(form->comtheme, &QComboBox::currentIndexChanged, this, &Frmreport::refresh);
    connect(form->chkpage, &QCheckBox::toggled, this, &Frmreport::refresh);
}

Frmreport::~Frmreport() = default;

void Frmreport::Form_Load() {
    for (store::ReportKind kind : store::reportKinds()) form->lstreport->addItem(store::reportTitle(kind));
    QDate from, to;
    store::lastWholeMonth(&from, &to);
    ui::setText(form->txtfrom, attendance::boxText(from));
    ui::setText(form->txtto, attendance::boxText(to));
    form->comteacher->addItem(kAll);
    form->comtheme->addItem(kAll);
    attempt(QStringLiteral("无法读取教师和会议主题。"), [this] {
        form->comteacher->addItems(store::attendanceTeachers());
        form->comtheme->addItems(store::minuteThemes());
    });
    form->lstreport->setCurrentRow(0);
    showConditions();
    refresh();
}

// Only the conditions the chosen report takes are shown.
void Frmreport::showConditions() {
    store::ReportKind kind = store::ReportKind::AddressBook;
    if (form->lstreport->currentItem()) store::reportKindOf(form->lstreport->currentItem()->text(), &kind);
    const bool dates = store::takesDates(kind), theme = store::takesTheme(kind);
    for (QWidget* w : {static_cast<QWidget*>(form->labfrom), static_cast<QWidget*>(form->txtfrom),
                       static_cast<QWidget*>(form->labto), static_cast<QWidget*>(form->txtto),
                       static_cast<QWidget*>(form->labteacher), static_cast<QWidget*>(form->comteacher)})
        w->setVisible(dates);
    for (QWidget* w : {static_cast<QWidget*>(form->labtheme), static_cast<QWidget*>(form->comtheme),
                       static_cast<QWidget*>(form->chkpage)})
        w->setVisible(theme);
}

bool Frmreport::readConditions(store::ReportRequest* q) {
    if (!form->lstreport->currentItem() || !store::reportKindOf(form->lstreport->currentItem()->text(), &q->kind))
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
        if (!date(form->txtfrom, form->labfrom, &q->from) || !date(form->txtto, form->labto, &q->to)) return false;
        if (q->from.isValid() && q->to.isValid() && q->to < q->from) {
            ui::notify(this,
                       QStringLiteral("“%1”早于“%2”，请更正“%1”。").arg(boxName(form->labto), boxName(form->labfrom)),
                       ui::Warning);
            form->txtto->setFocus();
            return false;
        }
        if (form->comteacher->currentIndex() > 0) q->teacher = form->comteacher->currentText();
    }
    if (store::takesTheme(q->kind)) {
        if (form->comtheme->currentIndex() > 0) q->theme = form->comtheme->currentText();
        q->pagePerRecord = form->chkpage->isChecked();
    }
    return true;
}

bool Frmreport::refresh() {
    if (m_busy) return false;         // the report stays as it is while its pages are being made
    form->preview->setPages(nullptr); // they refer to the report
    store::ReportRequest q;
    m_valid = readConditions(&q) && attempt(QStringLiteral("无法生成报表。"), [&] { m_report = store::makeReport(q); });
    if (!m_valid) m_report = store::Report();
    // The preview lays the pages out on a printer of its own and paints them as they are shown.
    report::setUpPage(m_printer.get(), m_report);
    form->preview->setPages(std::make_unique<report::Pages>(m_report, m_printer.get()), m_printer->pageLayout(),
                            m_printer->resolution());
    return m_valid;
}

int Frmreport::pageCount() const { return form->preview->pageCount(); }

void Frmreport::showPage() {
    form->labpage->setText(
        QStringLiteral("第 %1 页 共 %2 页").arg(form->preview->currentPage()).arg(form->preview->pageCount()));
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
