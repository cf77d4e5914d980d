#pragma once

#include <store/backup.h>
#include <ui/answereddialog.h>

class QCheckBox;
class QPushButton;
class QTreeWidget;

// The backups found, newest first, each with its date, what made it and what it holds; the
// person picks one, and the books to restore from it.
class Frmrestore : public ui::AnsweredDialog<Frmrestore> {
    Q_OBJECT
public:
    // Result besides Accepted and Rejected: the person wants to look in another folder.
    enum { ChooseFolder = 2 };

    Frmrestore(QWidget* parent, const QVector<store::Backup>& backups);

    // The backup chosen, by its index in the list given; -1 when none.
    int chosenBackup() const;
    // The data files ticked that the chosen backup can restore.
    QStringList chosenFiles() const;
    // Chooses backup i, as a click on it would.
    void choose(int i);

private:
    void cmdok_Click();
    void update();

    QVector<store::Backup> m_backups;
    QTreeWidget* lstbackups;
    QVector<QCheckBox*> m_books; // in the order of store::dataFiles()
    QPushButton* cmdok;
};
