#pragma once

#include <QString>
#include <QStringList>

// Cuts `text` at every `separator` into fields trimmed of white space.
// Empty fields between separators are kept; a separator that ends the text
// adds no empty last field, while blanks after the last separator do give
// one. `step` is the distance from a found separator to the next field's
// start (the length of a one-character separator). Returns false, leaving
// `fields` untouched, when the text or the separator is empty.
bool SplitFields(QString text, const QString& separator, QStringList& fields, int step);
