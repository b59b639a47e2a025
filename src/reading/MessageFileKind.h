#pragma once

#include <QString>

// What a message file is, by its extension (letter case ignored): the one
// place that decides between an Internet message and an Outlook message.
enum class MessageFileKind { Eml, Msg, Other };

MessageFileKind messageFileKind(const QString& nameOrPath);

// The archive's Message_ftype: "1" for .eml, "2" for .msg, "0" otherwise.
QString fileTypeCode(MessageFileKind kind);
