#include "platform/ChildProcessRunner.h"

#include "base/Delay.h"
#include "platform/TerminationSignal.h"

#include <QPointer>

ChildProcessRunner::ChildProcessRunner(bool& terminateState, QObject* parent)
    : QObject(parent)
    , m_terminateState(terminateState)
{ }

QProcess* ChildProcessRunner::newProcess(bool captureOutput, const QString& workingFolder)
{
    auto* process = new QProcess(this);
    process->setChildProcessModifier(&TerminationSignal::unblockForChild);
    if (!workingFolder.isEmpty())
        process->setWorkingDirectory(workingFolder);
    if (!captureOutput)
        process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->setStandardInputFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, this, [this, process](int exitCode) {
        m_terminateState = true;
        Q_EMIT terminated(exitCode);
        process->deleteLater();
    });
    // A program that cannot start never finishes; without this a waiting
    // loop would poll forever.
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        m_terminateState = true;
        Q_EMIT terminated(-1);
        process->deleteLater();
    });
    return process;
}

bool ChildProcessRunner::start(const QString& program, const QStringList& arguments, const QString& workingFolder)
{
    QProcess* process = newProcess(false, workingFolder);
    process->start(program, arguments);
    return process->state() != QProcess::NotRunning || process->error() != QProcess::FailedToStart;
}

ChildProcessRunner::Result ChildProcessRunner::runAndWait(const QString& program, const QStringList& arguments,
                                                          bool captureOutput, const QString& workingFolder)
{
    Result result;
    m_terminateState = false;
    QPointer<QProcess> process = newProcess(captureOutput, workingFolder);
    QByteArray output;
    if (captureOutput) {
        connect(process, &QProcess::readyReadStandardOutput, this,
                [&output, process] { output += process->readAllStandardOutput(); });
    }
    connect(process, &QProcess::finished, this,
            [&result, &output, process, captureOutput](int exitCode, QProcess::ExitStatus status) {
                result.exitCode = status == QProcess::NormalExit ? exitCode : -1;
                if (captureOutput && process)
                    output += process->readAllStandardOutput();
            });
    connect(process, &QProcess::errorOccurred, this, [&result, process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            result.errorText = process->errorString();
    });
    process->start(program, arguments);
    while (!m_terminateState)
        Delay(10);
    result.started = result.errorText.isEmpty();
    if (process)
        process->disconnect(this);
    result.output = output;
    return result;
}
