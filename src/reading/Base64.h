#pragma once

#include <QByteArray>

// Base64 decoding that forgives what mailers produce: line breaks and other
// stray characters are skipped, and "=" padding in the middle of the data
// (chunks encoded one after another) ends only the current group of four
// instead of the whole content.
QByteArray decodeBase64Lenient(const QByteArray& encoded);
