// The word dictionary that turns stored descriptions into readable text.
#pragma once

#include <QHash>
#include <QString>

// Word token ("@...@", both delimiters included) to the word it stands for.
using WordIndex = QHash<QString, QString>;

// The readable form of a stored description: every token replaced by its word from the index,
// a token without an entry dropped, all other text copied unchanged.
QString expandDescription(const QString &stored, const WordIndex &index);
