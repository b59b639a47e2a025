#pragma once

#include <QByteArray>
#include <QString>

// Text of mail in the character sets Japanese mail actually uses.
//
// Shift_JIS is read as CP932 and ISO-2022-JP and EUC-JP as EUC-JP-MS, so that
// the NEC and IBM extension characters Windows mailers send (①, ㈱, Ⅱ) survive.
// Undecodable bytes become U+FFFD; the result is never invalid text.
namespace Charsets {

// Decodes bytes declared to be in the given character set. An empty or
// unknown name falls back to UTF-8, then CP932, then ISO-8859-1.
QString decode(const QByteArray& bytes, const QByteArray& charset);

// The fallback alone: UTF-8 when the bytes are valid UTF-8, else CP932 when
// they are valid CP932, else ISO-8859-1.
QString decodeUndeclared(const QByteArray& bytes);

bool isValidUtf8(const QByteArray& bytes);

// Decodes with an iconv character set name, bad bytes as U+FFFD; the
// fallback name is used when iconv does not know the first.
QString decodeWithIconvName(const QByteArray& bytes, const QByteArray& name, const QByteArray& fallback);

// ISO-2022-JP (with JIS X 0201 Roman and half-width katakana, and the NEC
// row 13 that CP50220-style encoders put in JIS X 0208 mode) re-encoded
// as EUC-JP bytes.
QByteArray iso2022jpToEucJp(const QByteArray& bytes);

} // namespace Charsets
