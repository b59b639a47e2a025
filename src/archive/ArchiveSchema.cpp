#include "archive/ArchiveSchema.h"

#include "ArchiveSchemaSql.h"

#include <QRegularExpression>

QStringList archiveSchemaStatements()
{
    QStringList statements;
    QString current;
    const QStringList lines = QString::fromUtf8(kArchiveSchemaSql).split(u'\n');
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("--")) || (trimmed.isEmpty() && current.isEmpty()))
            continue;
        current += line + u'\n';
        if (trimmed.endsWith(u';')) {
            current = current.trimmed();
            current.chop(1);
            statements << current;
            current.clear();
        }
    }
    return statements;
}
