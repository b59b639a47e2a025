#include "archive/ColonFreeAlias.h"

#include "archive/ArchiveTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <unistd.h>

ColonFreeAlias::~ColonFreeAlias()
{
    QFile::remove(m_alias);
}

std::unique_ptr<ColonFreeAlias> ColonFreeAlias::make(const QString& path, QString* error)
{
    const QFileInfo file(path);
    const QString folder = file.absolutePath();
    if (folder.contains(u':')) {
        if (error)
            *error = ArchiveTexts::kColonInPath.arg(path);
        return nullptr;
    }
    const QString alias = folder + QStringLiteral("/.tallowin-alias-")
        + QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".fdb");
    if (::link(QFile::encodeName(file.absoluteFilePath()).constData(), QFile::encodeName(alias).constData()) != 0) {
        if (error)
            *error = ArchiveTexts::kColonInPath.arg(path);
        return nullptr;
    }
    return std::unique_ptr<ColonFreeAlias>(new ColonFreeAlias(alias));
}
