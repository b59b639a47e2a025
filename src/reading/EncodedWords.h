#pragma once

#include <QByteArray>
#include <QString>

// Header text with RFC 2047 encoded words. Adjacent encoded words are joined
// before their character set is applied (a multi-byte character may be split
// between two words), the blanks between them are dropped, each word's
// Base64 is decoded on its own (a padded word does not end the text), and
// raw 8-bit text is read by the undeclared-text fallback.
QString decodeHeaderText(const QByteArray& raw);

// Folded header lines joined into one.
QByteArray unfoldHeader(const QByteArray& raw);
