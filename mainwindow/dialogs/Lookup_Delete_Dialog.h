#pragma once
// The dialog that deletes values from a lookup table (titles, relationships):
// the table's values in a list, a delete button and OK. Every way of closing
// it reports it closed (Delete_Dialog_Closed).

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

class Lookup_Delete_Dialog : public QDialog {
    Q_OBJECT
public:
    QLabel* Label1 = nullptr;
    QListWidget* List = nullptr;
    QPushButton* Delete_Title = nullptr;
    QPushButton* OK = nullptr;

    void Delete_Title_Click();
    void OK_Click();

protected:
    Lookup_Delete_Dialog(QWidget* parent, const QString& caption, const QString& label,
                         const QString& list_name, const QString& delete_caption,
                         const QString& table, const QString& column);
    void done(int result) override;

private:
    void Load();
    QString table_;
    QString column_;
};
