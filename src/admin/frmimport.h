#pragma once

#include <store/importrows.h>

#include <QDialog>
#include <functional>

class QCheckBox;
class QPushButton;
class QRadioButton;

// What a folder of old record books holds, book by book (file, tables, record counts, problems),
// with a box to tick for each book that can be imported and the choice to add or replace.
class Frmimport : public QDialog {
    Q_OBJECT
public:
    // Results besides Accepted and Rejected: the person wants another folder, or a single file.
    enum { ChooseFolder = 2, ChooseFile = 3 };

    Frmimport(QWidget* parent, const QString& source, const QVector<store::ImportBook>& books);

    // Shows the dialog and waits for the person's answer; a test hook answers instead.
    int run();
    // The books ticked, by their index in the list given.
    QVector<int> chosen() const;
    store::ImportMode mode() const;

    void cmdok_Click();

    using Hook = std::function<int(Frmimport& dialog)>;
    static void setHook(Hook hook);

private:
    void updateOk();

    QVector<QCheckBox*> m_books;
    QRadioButton* optadd;
    QRadioButton* optreplace;
    QPushButton* cmdok;
};
