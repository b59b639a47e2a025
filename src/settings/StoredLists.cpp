#include "settings/StoredLists.h"

#include "settings/ListFiles.h"

#include <QDir>

StoredLists StoredLists::load(const QString& appDataFolder)
{
    const QDir dir(appDataFolder);
    StoredLists lists;
    lists.recipients = ListFiles::loadUtf8(dir.filePath(ListFileNames::MailAddressList));
    lists.rankNames = ListFiles::loadUtf8(dir.filePath(ListFileNames::RankNames));
    lists.masks = ListFiles::loadDetectingBom(dir.filePath(ListFileNames::MaskList));
    lists.mailBodyRtf = ListFiles::loadBytes(dir.filePath(ListFileNames::MailBody));
    ListFiles::ensureFileExists(dir.filePath(ListFileNames::SMTPPassCode));
    return lists;
}

void StoredLists::save(const QString& appDataFolder) const
{
    const QDir dir(appDataFolder);
    ListFiles::saveUtf8(dir.filePath(ListFileNames::RankNames), rankNames);
    ListFiles::saveUtf8(dir.filePath(ListFileNames::MaskList), masks);
    ListFiles::saveUtf8(dir.filePath(ListFileNames::MailAddressList), recipients);
    ListFiles::saveBytes(dir.filePath(ListFileNames::MailBody), mailBodyRtf);
}
