#include "Program_Error.h"

Program_Error::Program_Error(const QString& description)
    : std::runtime_error(description.toStdString())
{
}

QString Program_Error::Description() const
{
    return QString::fromStdString(what());
}

QString Error_Description(const std::exception& error)
{
    if (const auto* known = dynamic_cast<const Program_Error*>(&error))
        return known->Description();
    return QString::fromLocal8Bit(error.what());
}
