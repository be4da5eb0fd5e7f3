#pragma once
// The "Email Import Filters" page: one filter per lead site (the subject text
// that marks its lead e-mails and a sample e-mail), and under each filter its
// fields with a rule and without one. The tree fills as it is opened: the
// root's first click brings the filters, a filter's first click its action
// and its two groups, a group's first click its fields. The rule editor shows
// one rule of one filter; Test runs all rules of that filter over the sample
// with the import's own routine and lists what the import would store.

#include <QList>
#include <QString>
#include <QWidget>

#include "Email_Lead_Import.h"

class Planning_Tree;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidgetItem;

class Email_Filter_Editor : public QWidget {
    Q_OBJECT
public:
    explicit Email_Filter_Editor(QWidget* parent = nullptr);

    Planning_Tree* TreeEmailFilters = nullptr;
    QWidget* frameImportEmail = nullptr;
    QLabel* lblImportEmail_Header = nullptr;
    QLineEdit* txtFrameImportEmail_Subject_Line = nullptr;
    QComboBox* lstFrameImportEmail_Search_Type = nullptr;
    QLineEdit* txtFrameImportEmail_Label = nullptr;
    QLineEdit* txtFrameImportEmail_End_Label = nullptr;
    QLineEdit* txtFrameImportEmail_Begin_At_Section = nullptr;
    QPlainTextEdit* txtFrameImportEmail_Test_Pattern = nullptr;
    QPlainTextEdit* txtFrameImportEmail_Result = nullptr;
    QLineEdit* txtFrameImportEmail_SiteID = nullptr;
    QLineEdit* txtFrameImportEmail_LabelID = nullptr;
    QPushButton* Test_Import_Email_Rules = nullptr;

    // The tree holds its root only until the root is first clicked.
    void Load();

    bool Modified() const { return filter_changed; }
    // Update_Import_Email_Changes: writes the shown rule and its filter's
    // subject text and sample; false when the database failed.
    bool Save();

    void Show_Import_Email_Field(const QString& Key);
    void Test_Import_Email_Rules_Click();

private:
    void Build_Editor();
    void TreeEmailFilters_NodeClick(QTreeWidgetItem* Node);
    void Open_Root(QTreeWidgetItem* Root);
    void Open_Filter(QTreeWidgetItem* Filter);
    void Delete_Filter(const QString& ID);
    void Create_Filter();
    void Add_Rule(const QString& ID, const QString& Label, QTreeWidgetItem* Action);
    void Remove_Rule(const QString& ID, QTreeWidgetItem* Action);
    void Show_Import_Source_Fields_Setup(const QString& ID);
    void Show_Import_Source_Fields_Not_Setup(const QString& ID);
    // The labels of the filter that have a rule.
    bool Read_Rule_Labels(const QString& ID, QStringList& Labels);
    int Remove_Email_Filter_Node(const QString& Parent_Key, int Action_Nodes, const QString& Node_Key);
    void Make_Current(QTreeWidgetItem* Node);
    // Hides the rule editor and empties it: no later save writes a rule.
    void Hide_Editor();
    void Rule_Edited();

    bool filter_changed = false;
    bool loading = false;
    QString current_key;
};

// The tester's report over a sample e-mail (lines CR LF): the heading, then
// "part = value" for each value the import would store.
QString Import_Rule_Test_Report(const QList<Email_Field_Rule>& Rules, const QString& Text);
