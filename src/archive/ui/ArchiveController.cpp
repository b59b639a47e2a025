#include "archive/ui/ArchiveController.h"

#include "archive/ArchiveTexts.h"
#include "archive/ArchiveVerification.h"
#include "archive/EmbeddedLock.h"
#include "archive/TDm_Ldb.h"
#include "base/Prompt.h"
#include "frame/ui/MainActions.h"
#include "frame/ui/MainFrame.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

using namespace ArchiveTexts;

namespace { } // namespace

namespace {
constexpr qsizetype kShownProblems = 20;
} // namespace

ArchiveController::ArchiveController(MainFrame& window)
    : QObject(&window)
    , m_window(window)
    , m_dm(new TDm_Ldb(window.childProcesses(), window.programFolderPath(), this))
    , m_semafore(std::make_unique<EmbeddedLock>())
{
    // The lock is held from the window's creation to its close, before the
    // connection is opened and after it is closed.
    takeEmbeddedLock(m_window.state, *m_semafore);
    connect(m_dm, &TDm_Ldb::captionChanged, &m_window, &MainFrame::setDatabaseCaption);
    connect(&m_window, &MainFrame::shuttingDown, this, [this] {
        m_dm->close();
        releaseEmbeddedLock(m_window.state, *m_semafore);
    });
    buildConnectionCheck();
}

ArchiveController::~ArchiveController() = default;

void ArchiveController::buildConnectionCheck()
{
    auto* group = new QGroupBox(QStringLiteral("DB接続"));
    auto* grid = new QGridLayout(group);
    m_hostField = new QLineEdit(m_window.state.Ldb_Host1);
    m_hostField->setObjectName(QStringLiteral("DBHostField"));
    m_fileField = new QLineEdit(m_window.state.Ldb_Path1);
    m_fileField->setObjectName(QStringLiteral("DBFileField"));
    auto* browse = new QPushButton(QStringLiteral("・・・"));
    browse->setObjectName(QStringLiteral("DBFileBrowse"));
    m_checkButton = new QPushButton(QStringLiteral("接続check"));
    m_checkButton->setObjectName(QStringLiteral("DBCheckButton"));
    grid->addWidget(new QLabel(QStringLiteral("Host名：")), 0, 0);
    grid->addWidget(m_hostField, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("DBファイル：")), 1, 0);
    grid->addWidget(m_fileField, 1, 1);
    grid->addWidget(browse, 1, 2);
    grid->addWidget(m_checkButton, 2, 2);

    QWidget* page = m_window.page(MainFrame::DBFilePage);
    auto* layout = qobject_cast<QVBoxLayout*>(page->layout());
    if (!layout)
        layout = new QVBoxLayout(page);
    layout->addWidget(group);
    m_verifyButton = new QPushButton(kVerifyCaption);
    m_verifyButton->setObjectName(QStringLiteral("VerifyArchiveButton"));
    grid->addWidget(m_verifyButton, 3, 2);
    layout->addStretch();

    connect(browse, &QPushButton::clicked, this, &ArchiveController::chooseDatabaseFileExecute);
    connect(m_checkButton, &QPushButton::clicked, this, &ArchiveController::checkConnectionExecute);
    connect(m_verifyButton, &QPushButton::clicked, this, &ArchiveController::verifyArchiveExecute);
}

void ArchiveController::verifyArchiveExecute()
{
    m_verifyButton->setEnabled(false);
    // The check reads the archive through with the connection closed for
    // the engine's own validation: the list goes first.
    if (closeList)
        closeList();
    QProgressDialog progress(kVerifyCaption, QString(), 0, 0, &m_window);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.show();
    const ArchiveVerification::Report report = ArchiveVerification::verify(*m_dm, [&](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
        progress.setLabelText(kVerifyProgress.arg(done).arg(total));
        QCoreApplication::processEvents();
    });
    progress.close();
    if (report.ok()) {
        m_window.setStatusText(2, kVerifyOk.arg(report.messagesChecked));
        m_window.prompt().information(kVerifyOk.arg(report.messagesChecked));
    } else {
        const QString summary = kVerifyFoundProblems.arg(report.problems.size()).arg(report.messagesChecked);
        m_window.setStatusText(2, summary);
        // The first problems in the box; the command line lists them all.
        QStringList lines{summary};
        for (qsizetype i = 0; i < report.problems.size() && i < kShownProblems; ++i)
            lines << report.problems.at(i).describe();
        if (report.problems.size() > kShownProblems)
            lines << QStringLiteral("…");
        m_window.prompt().error(lines.join(QStringLiteral("\r\n")));
    }
    m_verifyButton->setEnabled(true);
}

void ArchiveController::connectAtStartup()
{
    QAction* dbConnect = m_window.actions()->DBConnect;
    dbConnect->setEnabled(false);
    const TDm_Ldb::StartupResult result
        = m_dm->connectAtStartup(ArchiveTarget{m_window.state.Ldb_Host1, m_window.state.Ldb_Path1});
    dbConnect->setEnabled(result.connected);
    m_window.setDatabaseCaption(result.caption);
    // No message box at start-up; the reason stays readable in the status bar.
    if (!result.connected && !m_window.state.Ldb_Path1.isEmpty())
        m_window.setStatusText(2, result.error);
}

void ArchiveController::chooseDatabaseFileExecute()
{
    const QString chosen = m_window.prompt().openFileName(QStringLiteral("DBファイル"),
                                                          QFileInfo(m_fileField->text()).path(), kDatabaseFilter);
    if (!chosen.isEmpty())
        m_fileField->setText(chosen);
}

void ArchiveController::checkConnectionExecute()
{
    m_checkButton->setEnabled(false);
    m_window.state.Ldb_Host1 = m_hostField->text();
    m_window.state.Ldb_Path1 = m_fileField->text();
    QString error;
    const bool ok = m_dm->checkConnection(ArchiveTarget{m_window.state.Ldb_Host1, m_window.state.Ldb_Path1}, &error);
    if (ok)
        m_window.prompt().information(kConnectionOk);
    else
        m_window.prompt().information(kConnectionNg);
    m_checkButton->setEnabled(true);
}
