#include "File_Import_Source_Editor.h"

#include <QHBoxLayout>

#include "Data_Access.h"
#include "Planning_Common.h"
#include "Planning_Tree.h"

File_Import_Source_Editor::File_Import_Source_Editor(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("frameImportSources");
    TreeImportSources = new Planning_Tree("TreeImportSources");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TreeImportSources);
}

void File_Import_Source_Editor::Load()
{
    TreeImportSources->clear();
    try {
        const QList<QSqlRecord> sources =
            Open_Database().Select("SELECT Name_Of_Site FROM ContactSources ORDER BY ID");
        for (const QSqlRecord& row : sources) {
            const QString name = Db_Text(row, "Name_Of_Site");
            TreeImportSources->Add_Node(nullptr, "IFS" + name, name, "InMail");
        }
    } catch (const std::exception& e) {
        Show_Planning_Error("File Import Sources", e);
    }
}
