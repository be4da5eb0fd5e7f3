#include "Image_List.h"

#include <QApplication>
#include <QHash>
#include <QStyle>

QIcon Image_List_Icon(const QString& key)
{
    if (key.isEmpty())
        return {};
    // Theme names first (a desktop's own icons), the style's standard icons
    // where the theme has none.
    struct Source { const char* theme; QStyle::StandardPixmap standard; };
    static const QHash<QString, Source> sources = {
        {"Clip", {"mail-attachment", QStyle::SP_FileIcon}},
        {"Remove", {"list-remove", QStyle::SP_DialogDiscardButton}},
        {"Phone", {"call-start", QStyle::SP_MediaVolume}},
        {"WritePad", {"document-edit", QStyle::SP_FileDialogDetailedView}},
        {"Print", {"document-print", QStyle::SP_DesktopIcon}},
        {"SendEmail", {"mail-send", QStyle::SP_ArrowRight}},
        {"DeleteCross", {"edit-delete", QStyle::SP_DialogCancelButton}},
        {"Mail", {"mail-message", QStyle::SP_DirOpenIcon}},
        {"Factory", {"go-home", QStyle::SP_ComputerIcon}},
        {"Add", {"list-add", QStyle::SP_FileDialogNewFolder}},
        {"Erase", {"edit-clear", QStyle::SP_DialogResetButton}},
        {"InMail", {"mail-receive", QStyle::SP_ArrowLeft}},
        {"Imported", {"contact-new", QStyle::SP_FileDialogContentsView}},
        {"FieldNote", {"text-x-generic", QStyle::SP_FileIcon}},
        {"FieldsNotSetup", {"tools-check-spelling", QStyle::SP_MessageBoxQuestion}},
        {"StopSign", {"process-stop", QStyle::SP_BrowserStop}},
        {"Time", {"appointment-new", QStyle::SP_BrowserReload}},
        {"Quote", {"x-office-document", QStyle::SP_FileDialogInfoView}},
        {"MailAuto", {"mail-send-receive", QStyle::SP_DialogApplyButton}},
        {"NewContact", {"contact-new", QStyle::SP_FileDialogNewFolder}},
        {"Group", {"system-users", QStyle::SP_DirIcon}},
    };
    const auto it = sources.constFind(key);
    if (it == sources.constEnd())
        return {};
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(it->theme));
    if (!themed.isNull())
        return themed;
    return QApplication::style()->standardIcon(it->standard);
}
