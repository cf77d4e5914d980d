#pragma once

#include <store/recycle.h>
#include <ui/answereddialog.h>

#include <memory>

namespace Ui {
class Frmrecycle;
}

// The recycle bin: the records the delete commands removed, newest first. The person puts the
// chosen ones back into their books (恢复) or removes them for good (彻底删除). Its controls
// are those of frmrecycle.ui.
class Frmrecycle : public ui::AnsweredDialog<Frmrecycle> {
    Q_OBJECT
public:
    explicit Frmrecycle(QWidget* parent = nullptr);
    ~Frmrecycle() override;

    void cmdrestore_Click();
    void cmdpurge_Click();
    // Selects the records shown at these rows of lstrecycle, as clicks would.
    void choose(const QVector<int>& rows);
    // Whether a record went back into a book while the dialog was open.
    bool restoredAny() const { return m_restored; }

private:
    void reload();
    void lstrecycle_SelectionChanged();
    QVector<qint64> chosenIds() const;

    std::unique_ptr<Ui::Frmrecycle> m_form;
    QVector<store::RecycledRecord> m_records; // as listed
    bool m_restored = false;
};

namespace admin {
// "回收站…": shows the bin. Returns true when records went back into their books.
bool recyclebin_Click(QWidget* parent);
} // namespace admin
