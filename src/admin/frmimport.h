#pragma once

#include <store/importrows.h>
#include <ui/answereddialog.h>

class QCheckBox;
class QPushButton;
class QRadioButton;

// What a folder of old record books holds, book by book (file, tables, record counts, problems),
// with a box to tick for each book that can be imported and the choice to add or replace.
class Frmimport : public ui::AnsweredDialog<Frmimport> {
    Q_OBJECT
public:
    // Results besides Accepted and Rejected: the person wants another folder, or a single file.
    enum { ChooseFolder = 2, ChooseFile = 3 };

    Frmimport(QWidget* parent, const QString& source, const QVector<store::ImportBook>& books);

    // The books ticked, by their index in the list given.
    QVector<int> chosen() const;
    store::ImportMode mode() const;

    void cmdok_Click();

private:
    void updateOk();

    QVector<QCheckBox*> m_books;
    QRadioButton* optadd;
    QRadioButton* optreplace;
    QPushButton* cmdok;
};
