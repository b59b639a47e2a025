#include "settings/Configuration.h"

#include <QDir>
#include <QFileInfo>

Configuration Configuration::load(const QString& iniFilePath, const QString& appDataFolder, bool themeFromCommandLine)
{
    Configuration c;
    c.document.load(iniFilePath);
    // The recipient list is read first: its length tells how many ticks to read.
    c.lists = StoredLists::load(appDataFolder);
    ReadOptions options;
    options.themeFromCommandLine = themeFromCommandLine;
    options.recipientCount = int(c.lists.recipients.size());
    c.settings = readAppSettings(c.document, options);
    return c;
}

bool Configuration::save(const QString& iniFilePath, const QString& appDataFolder)
{
    // One tick for every entry of the recipient list, unticked when unknown.
    settings.recipientTicks.resize(lists.recipients.size(), false);
    writeAppSettings(document, settings);
    QDir().mkpath(QFileInfo(iniFilePath).absolutePath());
    const bool saved = document.save(iniFilePath);
    lists.save(appDataFolder);
    return saved;
}
