#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal delivered on the
// user-interface thread, so that a desktop log-out or a kill from a
// terminal closes the main window the normal way: work folders cleaned,
// settings written.
//
// The signals are blocked in every thread and read from a signalfd. A
// handler would interrupt whichever thread the kernel picks: the embedded
// database engine's worker threads end when their waits are interrupted,
// and the engine then never finishes closing the archive.
class TerminationSignal : public QObject
{
    Q_OBJECT

public:
    // Call first thing in main(), before any thread exists, so that every
    // thread inherits the blocked signals.
    static void blockInAllThreads();
    // For a child process: its signals as a fresh program expects them.
    static void unblockForChild();

    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

    bool active() const { return m_fd >= 0; }

Q_SIGNALS:
    void received(int signalNumber);

private:
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
};
