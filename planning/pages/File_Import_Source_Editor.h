#pragma once
// The "File Import Sources" page: the tree of lead-file sources.

#include <QWidget>

class Planning_Tree;

class File_Import_Source_Editor : public QWidget {
    Q_OBJECT
public:
    explicit File_Import_Source_Editor(QWidget* parent = nullptr);

    Planning_Tree* TreeImportSources = nullptr;

    void Load();
    bool Modified() const { return false; }
    bool Save() { return true; }
};
