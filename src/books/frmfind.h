#pragma once

#include <store/search.h>
#include <ui/childform.h>

#include <atomic>
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
    // What the searches in the thread pool share with the window.
    struct Shared {
        std::atomic<int> wanted{0};  // the search the window waits for; others stop
        std::atomic<int> running{0}; // tasks not yet ended
    };
    void searchTable(int index);
    void listFound(int search, int index, const QVector<store::Found>& found);
    void tableDone(int search, int index, bool cut);
    void showStatus();

    std::unique_ptr<Ui::Frmfind> m_form; // the controls, from frmfind.ui
    QTimer* m_pause;
    ui::MatchDelegate* m_marks;
    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
    QString m_text;                         // the text being searched for
    QVector<store::SearchedTable> m_tables; // the tables searched, in list order
    QVector<int> m_listed;                  // per table: records listed
    QVector<QListWidgetItem*> m_headings;   // per table: its heading, once it has a record
    int m_pending = 0;                      // tables still being searched
    int m_count = 0;
    bool m_cut = false; // a book held more records than are listed
    int m_search = 0;   // counts searches, so the results of an earlier one are dropped
};
