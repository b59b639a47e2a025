#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

// Runs child programs (the database tools, GnuPG, the mail client, programs
// opened with an attachment). Whenever a child ends — or cannot be started
// at all — the flag given at construction is set, on the user-interface
// thread; waiting code clears it, starts the child and polls it.
class ChildProcessRunner : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        bool started = false;
        int exitCode = -1;
        QByteArray output; // standard output, when captured
        QString errorText; // why the program could not be started
    };

    explicit ChildProcessRunner(bool& terminateState, QObject* parent = nullptr);

    // Clears the flag, starts the program and waits (dispatching events,
    // polling every 10 ms) until the flag is set.
    Result runAndWait(const QString& program, const QStringList& arguments, bool captureOutput = false,
                      const QString& workingFolder = QString());

    // Starts without waiting; the flag is set when the child ends.
    bool start(const QString& program, const QStringList& arguments, const QString& workingFolder = QString());

Q_SIGNALS:
    void terminated(int exitCode);

private:
    QProcess* newProcess(bool captureOutput, const QString& workingFolder);

    bool& m_terminateState;
};
