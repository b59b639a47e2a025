#include "settings/StoredLists.h"

#include "settings/ListFiles.h"

#include <QDir>

StoredLists StoredLists::load(const QString& appDataFolder)
{
    const QDir dir(appDataFolder);
    StoredLists lists;
    bool failed = false;
    const auto note = [&](const QString& name) {
        if (failed)
            lists.unreadable << name;
    };
    lists.recipients = ListFiles::loadUtf8(dir.filePath(ListFileNames::MailAddressList), &failed);
    note(ListFileNames::MailAddressList);
    lists.rankNames = ListFiles::loadUtf8(dir.filePath(ListFileNames::RankNames), &failed);
    note(ListFileNames::RankNames);
    lists.masks = ListFiles::loadDetectingBom(dir.filePath(ListFileNames::MaskList), &failed);
    note(ListFileNames::MaskList);
    lists.mailBodyRtf = ListFiles::loadBytes(dir.filePath(ListFileNames::MailBody), &failed);
    note(ListFileNames::MailBody);
    ListFiles::ensureFileExists(dir.filePath(ListFileNames::SMTPPassCode));
    return lists;
}

void StoredLists::save(const QString& appDataFolder) const
{
    const QDir dir(appDataFolder);
    const auto writable = [this](const QString& name) { return !unreadable.contains(name); };
    if (writable(ListFileNames::RankNames))
        ListFiles::saveUtf8(dir.filePath(ListFileNames::RankNames), rankNames);
    if (writable(ListFileNames::MaskList))
        ListFiles::saveUtf8(dir.filePath(ListFileNames::MaskList), masks);
    if (writable(ListFileNames::MailAddressList))
        ListFiles::saveUtf8(dir.filePath(ListFileNames::MailAddressList), recipients);
    if (writable(ListFileNames::MailBody))
        ListFiles::saveBytes(dir.filePath(ListFileNames::MailBody), mailBodyRtf);
}
