#include "reading/tnef/ui/TnefController.h"

#include "base/FolderRemoval.h"
#include "base/Prompt.h"
#include "base/SafePath.h"
#include "frame/ui/MainFrame.h"
#include "reading/MimeMessage.h"
#include "reading/tnef/TnefExtraction.h"
#include "reading/ui/ReadingController.h"
#include "settings/SettingsFolders.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QTabWidget>

TnefController::TnefController(MainFrame& window, ReadingController& reading)
    : QObject(&window)
    , m_window(window)
    , m_reading(reading)
{
    m_reading.tnefExtraction = [this](const MimePart& part) { return DecryptTnefA1Execute(part); };
    connect(&window, &MainFrame::messageViewCleared, this, [this] {
        m_extractedThisDisplay = false;
        m_listed.clear();
    });
}

bool TnefController::DecryptTnefA1Execute(const MimePart& part)
{
    const QString attachments = attachmentFolderPath(m_window.state.MyAppDataPath);
    const QString second = tnefFolderPath(m_window.state.MyAppDataPath);
    if (!m_extractedThisDisplay) {
        // The previous message's contents go; a folder that stays is
        // reported and the extraction goes on into it.
        if (QFileInfo(second).isDir())
            removeFolder(second, m_window.prompt());
        m_window.attachmentList(2)->clear();
        m_extractedThisDisplay = true;
    }
    m_window.setPageVisible(MainFrame::Attachment1Page, true);
    m_reading.SavetoDisk->setEnabled(false);
    m_reading.OpenWith->setEnabled(false);

    const MimeMessage* message = m_reading.message();
    if (!message)
        return true;
    const QByteArray content = message->attachmentContent(part);
    QDir().mkpath(attachments);
    const QString copy = safeChildPath(attachments, listingForPart(part).caption);
    message->saveAttachment(part, copy);

    QStringList names;
    QString error;
    int skipped = 0;
    const bool ok = TnefExtraction::unpack(content, second, &names, &error, &skipped);
    if (!ok) {
        m_window.prompt().error(error);
        return false;
    }
    if (skipped > 0)
        m_window.prompt().information(TnefExtraction::skippedText(skipped));
    for (const QString& name : m_listed.add(names)) {
        const QString suffix = QFileInfo(name).suffix();
        m_reading.listInList2(name, suffix.isEmpty() ? QString() : u'.' + suffix);
        m_window.setPageVisible(MainFrame::Attachment2Page, true);
        m_window.showPage(MainFrame::Attachment2Page);
        QCoreApplication::processEvents();
    }
    return true;
}
