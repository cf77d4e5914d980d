#pragma once

#include <report/files.h>
#include <store/report.h>
#include <ui/childform.h>

#include <memory>

class QPrinter;
namespace Ui {
class Frmreport;
}

// The reports of the books: one picked in the list, its conditions set beside it, its pages in
// the preview; printed, saved as PDF, or exported to Excel or CSV.
class Frmreport : public ui::ChildForm {
    Q_OBJECT
public:
    explicit Frmreport(QWidget* parent = nullptr);
    ~Frmreport() override;

    const store::Report& report() const { return m_report; }
    int pageCount() const;

    void cmdprint_Click();
    void cmdpdf_Click();
    void cmdexcel_Click();
    void cmdexit_Click();

private:
    void Form_Load();
    // Reads the conditions and makes the report again; false (with the box named) when a
    // condition cannot be used.
    bool refresh();
    bool readConditions(store::ReportRequest* request);
    void showConditions();
    void save(report::Format preferred);
    // Runs work that reports done of total under a progress dialog with Cancel; false when cancelled.
    bool withProgress(const QString& what, const std::function<bool(const report::Progress&)>& work);
    void showPage();

    std::unique_ptr<Ui::Frmreport> m_form; // the controls, from frmreport.ui
    std::unique_ptr<QPrinter> m_printer;   // the preview's
    store::Report m_report;
    bool m_valid = false;
    bool m_busy = false; // pages or a file being made
};
