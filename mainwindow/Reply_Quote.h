#pragma once
// The quoted text of a reply: two empty lines, then the answered text with
// "> " before each of its lines (the first one behind a marker of its own).

#include <QString>

QString Reply_Quote(const QString& Message);
