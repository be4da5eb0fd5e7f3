#include "Reply_Quote.h"

QString Reply_Quote(const QString& Message)
{
    QString quoted = "\r\n\r\n> " + Message;
    quoted.replace("\n", "\n> ");
    return quoted;
}
