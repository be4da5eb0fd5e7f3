#pragma once
// The text of a delimited lead file and its lines: decoding the file,
// refusing what is no text, splitting a line into its fields, and the field
// positions a source names. No database, no window: the file import uses
// these, and so does the fuzz target of tests/fuzz.

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <array>

#include "Lead_Import_State.h"

inline constexpr int Lead_Max_Fields = Lead_Import_State::Max_Fields;
// The fields of a line; field n is entry n - 1. Two spare entries, so the
// field that breaks the limit can still be stored.
using Line_Fields = std::array<QString, Lead_Max_Fields + 2>;

// Splits one line at the delimiter (none: the line is one field): one
// leading blank of a field goes, then a quoted field loses its quotes (and
// only those). False when the line holds more than 40 fields.
bool Split_Line(const QString& Line, const QString& Delimiter, Line_Fields& Fields);

// The file's text. A byte-order mark says UTF-16 or UTF-8; without one a file
// is UTF-8, and a line that is not is read in the Western Windows code page,
// so one stray byte garbles only its own line.
QString Decode_Lead_File(const QByteArray& Bytes);

// Why the decoded text is no lead file (NUL characters, binary data); empty
// when it is one.
QString Not_Text_Reason(const QString& Text);

// A field position as a whole number from 1 to 40; 0 (no column) for
// anything else: a null, a text, a fraction out of range, infinity, NaN.
int Whole_Position(const QVariant& Value);
