#pragma once

#include <store/search.h>
#include <ui/childform.h>

#include <memory>

class QListWidgetItem;
class QTimer;
namespace ui {
class MatchDelegate;
}
namespace Ui {
class Frmfind;
}

// Finds any record by a piece of its text, in every column of every book: the results listed by
// book, each with the matching text in context; a double-click opens the record in its window.
class Frmfind : public ui::ChildForm {
    Q_OBJECT
public:
    // At most this many records are listed per book.
    static constexpr int kLimit = 500;
    // The item data of a result: its table's name, rowid and values (a book's heading has none).
    enum Role { TableRole = Qt::UserRole + 1, RowidRole, ValuesRole };

    explicit Frmfind(QWidget* parent = nullptr);
    ~Frmfind() override;

    // Starts a search of the text in the box now (Enter, or the pause after typing).
    void txtfind_Change();
    // True while books remain to be searched.
    bool searching() const;
    void lstfound_DblClick(QListWidgetItem* item);

signals:
    // A found record, to be shown in the window of its book.
    void recordChosen(const QString& table, qint64 rowid, const QStringList& values);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void searchNext();
    void showStatus();

    std::unique_ptr<Ui::Frmfind> m_form; // the controls, from frmfind.ui
    QTimer* m_pause;
    ui::MatchDelegate* m_marks;
    QString m_text;                        // the text being searched for
    QVector<store::SearchedTable> m_queue; // the tables still to search
    int m_count = 0;
    bool m_cut = false; // a book held more records than are listed
    int m_search = 0;   // counts searches, so a step of an earlier one stops
};
