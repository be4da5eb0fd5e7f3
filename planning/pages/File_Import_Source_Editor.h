#pragma once
// The "File Import Sources" page: the lead-file sources (a local file or a
// file on an FTP server) and the editor of one of them: where the file is, how
// it is delimited, and in which field of a line each contact field stands.
// Under each source: "*** Import Now" (its pending edits stored first) and
// its delete action.

#include <QList>
#include <QString>
#include <QWidget>

class Planning_Tree;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSqlRecord;
class QTreeWidgetItem;

class File_Import_Source_Editor : public QWidget {
    Q_OBJECT
public:
    explicit File_Import_Source_Editor(QWidget* parent = nullptr);

    Planning_Tree* TreeImportSources = nullptr;
    QPushButton* Add_Import_Source = nullptr;
    QWidget* frameFileImport = nullptr;
    QLabel* lblFrameImportHeading = nullptr;
    QLineEdit* txtFileImport_Path_For_File = nullptr;
    QPushButton* Find_Import_File = nullptr;
    QPushButton* Display_First_LIne = nullptr;
    QLineEdit* txtFileImport_Firstline = nullptr;
    QCheckBox* chkAutoImport = nullptr;
    QCheckBox* chkDel_When_Imported = nullptr;
    QComboBox* lstType_Of_Source = nullptr;
    QComboBox* lstField_Delimiter = nullptr;
    QComboBox* lstFrom_System = nullptr;
    QLineEdit* txtFileImport_Domain_Name = nullptr;
    QLineEdit* txtFileImport_Username = nullptr;
    QLineEdit* txtFileImport_Password = nullptr;
    QLineEdit* txtFileImport_ID = nullptr;

    // The position boxes, one per position field, in the editor's order.
    struct Position_Box {
        QString field;       // e.g. "Firstname_Position"
        QString caption;     // e.g. "Firstname"
        QLineEdit* box = nullptr;
    };
    const QList<Position_Box>& Position_Boxes() const { return positions; }

    // The tree: one node per source, in table order.
    void Load();

    bool Modified() const { return source_changed; }
    // Save_File_Import_Source: writes the shown source. False when a position
    // is not a whole number from 0 to 40 (said in a message; the keyboard goes
    // to that box) or the database failed. With no source shown it does nothing.
    bool Save();

    void Show_File_Import_Source(const QString& Name);

private:
    void Build_Editor();
    void Add_Import_Source_Click();
    void TreeImportSources_NodeClick(QTreeWidgetItem* Node);
    void Delete_Source(const QString& Name, QTreeWidgetItem* Source);
    void Fill_File_Import_Fields(const QSqlRecord& Row);
    void Check_Position(QLineEdit* Box);
    void Show_FTP_Boxes(bool FTP);
    void Display_First_LIne_Click();
    void Find_Import_File_Click();
    void Source_Edited();
    void Hide_Editor();

    QList<Position_Box> positions;
    QList<QWidget*> ftp_widgets;
    bool source_changed = false;
    bool loading = false;
};

// The first line of a text file: up to its first CR LF, CR or LF (the
// whole text when it has none). False when the file cannot be read.
bool Read_First_Line(const QString& Path, QString* Line, QString* Error);
