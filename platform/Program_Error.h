#pragma once
// The failures the program reports to the user: each carries the text that
// says what went wrong (Description), in the words of the part that failed.
// Catching Program_Error catches every one of them: the database's, the mail
// store's, the file transfer's and those of files copied or deleted.

#include <QString>
#include <exception>
#include <stdexcept>

class Program_Error : public std::runtime_error {
public:
    explicit Program_Error(const QString& description);
    QString Description() const;
};

// A file that could not be copied, moved or deleted.
class File_Error : public Program_Error {
public:
    using Program_Error::Program_Error;
};

// The description of any failure: a program error's own text, else what the
// standard library says.
QString Error_Description(const std::exception& error);
