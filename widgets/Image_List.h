#pragma once
// The main window's icon list: one icon per key the lists and toolbars name.

#include <QIcon>
#include <QString>

// The icon for a key of the image list; a null icon for an unknown or empty key.
QIcon Image_List_Icon(const QString& key);
