#pragma once
// Field rules of e-mail import filters: where a contact field stands in a
// lead site's message. Every comparison is by character code; trimming
// removes blanks only. Arguments that come from the database may be null.

#include <QString>
#include <QVariant>

struct Email_Field_Label {
    QString Label;       // as the filter editor offers it for Event_Field
    QString Field_Name;  // the Contacts column; empty for composite labels
};

inline constexpr int Email_Field_Label_Count = 25;
extern Email_Field_Label Email_Field_Label_Table[Email_Field_Label_Count];

void Init_Email_Field_Names();

// The value after the label on its line (or up to end_label).
QString Label_Search_Value(const QVariant& Text, const QVariant& Label, const QVariant& After_Label,
                           const QVariant& End_Label);

// A word of the value after the label, counted from the separator.
QString Label_Search_Word(int Word_Number, const QVariant& Text, const QVariant& Label,
                          const QVariant& After_Label, const QVariant& End_Label,
                          const QString& Separator, int N);

// The instance-th non-empty line after the label's line.
QString Line_Instance_Search_Value(const QVariant& Text, const QVariant& Label,
                                   const QVariant& Instance);

// Word routines: each trims the caller's text in place first.
QString Get_First_Word(QString& Text);
QString Get_After_First_Word(QString& Text);
QString Get_Second_Word(QString& Text);
QString Get_Third_Word(QString& Text);

// 0 for the empty text, else the value unchanged (null stays null).
QVariant Blank_To_Zero(const QVariant& Value);
