#include "app/ui/ProgramEntry.h"

#include "app/ui/Subsystems.h"
#include "app/ui/TFrmQuillet.h"
#include "app/ui/TFrmSplush.h"
#include "app/ui/UiFont.h"
#include "base/AppInfo.h"
#include "base/Delay.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignal.h"
#include "reading/ui/MailWebView.h"
#include "settings/SettingsFolders.h"

#include "TallowinVersion.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>

#include <memory>

int runProgram(int argc, char** argv)
{
    TerminationSignal::blockInAllThreads();
    MailWebView::registerScheme();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallowin"));
    QApplication::setApplicationVersion(QStringLiteral(TALLOWIN_VERSION_TEXT));
    installUiFont();

    SingleInstance instance(SingleInstance::keyFor(programFileName()));
    switch (instance.acquire()) {
    case SingleInstance::Outcome::AlreadyRunning:
        return 0;
    case SingleInstance::Outcome::Failed:
        QMessageBox::critical(nullptr, AppInfo::Title, QStringLiteral("プログラムを起動できません。"));
        return 1;
    case SingleInstance::Outcome::First:
        break;
    }

    auto splash = std::make_unique<TFrmSplush>(programFolder() + QStringLiteral("Tallowin.jpg"));
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    QuilletOptions options;
    options.arguments = arguments;
    std::unique_ptr<TFrmQuillet> window;
    try {
        window = std::make_unique<TFrmQuillet>(options);
        // The database module comes after the window and connects at once.
        attachSubsystems(*window);
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, AppInfo::Title, QString::fromLocal8Bit(e.what()));
    }
    Delay(1000);
    splash.reset();
    if (!window || window->terminationRequested())
        return 1;

    QObject::connect(&instance, &SingleInstance::activationRequested, window.get(), &TFrmQuillet::bringToFront);
    TerminationSignal termination;
    QObject::connect(&termination, &TerminationSignal::received, window.get(), &QWidget::close);
    window->show();
    const int result = QApplication::exec();

    if (window->restartRequested()) {
        // The new program must find nobody holding the instance name.
        instance.release();
        QProcess restart;
        restart.setProgram(QApplication::applicationFilePath());
        restart.setChildProcessModifier(&TerminationSignal::unblockForChild);
        restart.startDetached();
    }
    return result;
}
