#include "archive/ui/MailboxImportController.h"

#include "archive/ArchiveTexts.h"
#include "archive/MailboxImport.h"
#include "base/Prompt.h"
#include "frame/ui/MainActions.h"
#include "frame/ui/MainFrame.h"
#include "settings/AppSettings.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>

using namespace ArchiveTexts;

namespace {

constexpr int kCommitEvery = 50;   // messages per transaction: one commit's forced write each
constexpr int kShownRefusals = 20; // in the closing message box
constexpr int kProgressSteps = 1000;

} // namespace

MailboxImportController::MailboxImportController(MainFrame& window, TDm_Ldb& database)
    : QObject(&window)
    , m_window(window)
    , m_dm(database)
{
    connect(window.actions()->MailboxImport, &QAction::triggered, this, &MailboxImportController::MailboxImportExecute);
}

void MailboxImportController::MailboxImportExecute()
{
    AppSettings& settings = m_window.settings();
    const QString path = m_window.prompt().mailboxPath(settings.mlReadPath);
    if (path.isEmpty())
        return;
    settings.mlReadPath = QFileInfo(path).absolutePath();
    importMailbox(path);
}

void MailboxImportController::importMailbox(const QString& path)
{
    QAction* action = m_window.actions()->MailboxImport;
    action->setEnabled(false);
    QProgressDialog progress(kImportCaption, QStringLiteral("中止"), 0, kProgressSteps, &m_window);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.show();
    QElapsedTimer clock;
    clock.start();
    QStringList refusals;
    MailboxImport::Options options;
    options.accountRows = m_window.settings().parameters.accountRows();
    options.commitEvery = kCommitEvery;
    options.refused = [&refusals](const MailboxImport::Refusal& r) {
        refusals << QStringLiteral("%1 #%2: %3").arg(r.mailbox).arg(r.position).arg(r.reason);
    };
    options.progress = [&](const MailboxImport::Summary& s) {
        const double seconds = qMax(0.001, clock.elapsed() / 1000.0);
        const double fraction = s.total > 0 ? double(s.done) / double(s.total) : 0.0;
        const int left = fraction > 0 ? int(seconds * (1.0 - fraction) / fraction + 0.5) : 0;
        progress.setValue(int(fraction * kProgressSteps));
        progress.setLabelText(kImportProgress.arg(s.handled()).arg(int(s.handled() / seconds)).arg(left));
        QCoreApplication::processEvents(); // the window stays responsive, and Cancel is heard
        return !progress.wasCanceled();
    };
    const MailboxImport::Summary summary = MailboxImport::import(m_dm, path, options);
    progress.close();
    const QString text = QFileInfo(path).fileName() + QStringLiteral(": ") + summary.describe();
    m_window.setStatusText(2, text);
    QStringList lines{text};
    if (!summary.error.isEmpty())
        lines << summary.error;
    lines << refusals.mid(0, kShownRefusals);
    if (refusals.size() > kShownRefusals)
        lines << QStringLiteral("…");
    if (summary.error.isEmpty())
        m_window.prompt().information(lines.join(QStringLiteral("\r\n")));
    else
        m_window.prompt().error(lines.join(QStringLiteral("\r\n")));
    if (refreshList)
        refreshList();
    action->setEnabled(true);
}
