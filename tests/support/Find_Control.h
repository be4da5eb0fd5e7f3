#pragma once
// Tests reach a window's controls by their names, the way a user sees them,
// not by the class that happens to hold them: moving a control into another
// pane then changes no test.

#include <QList>
#include <QObject>
#include <QString>
#include <QtGlobal>

// The one control of that type and name under root (menu entries too). A
// missing name, or a name given twice, ends the test run at once with the
// name in the message.
template <class T>
T* Control(const QObject* root, const char* name)
{
    const QList<T*> found = root->findChildren<T*>(QString::fromLatin1(name));
    if (found.size() != 1)
        qFatal("Control \"%s\" of type %s under \"%s\": %s", name, T::staticMetaObject.className(),
               qPrintable(root->objectName()), found.isEmpty() ? "not found" : "named more than once");
    return found.first();
}
