#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The list files read at start-up and saved at close, held while the
// program runs even before the controls that show them exist.
struct StoredLists
{
    QStringList recipients; // $MailAddressList.txt
    QStringList rankNames;  // $RNK_Name.Txt
    QStringList masks;      // $MSK_List.Txt
    QByteArray mailBodyRtf; // $MailBody.rtf
    // Files that exist but could not be read: they are not written back,
    // so a read error never turns into an emptied file at close.
    QStringList unreadable;

    // Also creates an empty $SMTPPass_Code when there is none.
    static StoredLists load(const QString& appDataFolder);
    void save(const QString& appDataFolder) const;
};
