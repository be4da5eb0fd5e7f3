#include "Email_Filter_Editor.h"

#include <QHBoxLayout>

#include "Planning_Tree.h"

Email_Filter_Editor::Email_Filter_Editor(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("frameEmailFilters");
    TreeEmailFilters = new Planning_Tree("TreeEmailFilters");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TreeEmailFilters);
}

void Email_Filter_Editor::Load()
{
    TreeEmailFilters->clear();
    TreeEmailFilters->Add_Node(nullptr, "IEM", "E-Mail Contact Import Filters", "InMail");
}
