#include "reading/MessageFileKind.h"

#include <QFileInfo>

MessageFileKind messageFileKind(const QString& nameOrPath)
{
    const QString suffix = QFileInfo(nameOrPath).suffix();
    if (suffix.compare(QLatin1String("eml"), Qt::CaseInsensitive) == 0)
        return MessageFileKind::Eml;
    if (suffix.compare(QLatin1String("msg"), Qt::CaseInsensitive) == 0)
        return MessageFileKind::Msg;
    return MessageFileKind::Other;
}

QString fileTypeCode(MessageFileKind kind)
{
    switch (kind) {
    case MessageFileKind::Eml:
        return QStringLiteral("1");
    case MessageFileKind::Msg:
        return QStringLiteral("2");
    case MessageFileKind::Other:
        break;
    }
    return QStringLiteral("0");
}
