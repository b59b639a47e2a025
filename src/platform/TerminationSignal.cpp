#include "platform/TerminationSignal.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t terminationSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

} // namespace

void TerminationSignal::blockInAllThreads()
{
    const sigset_t set = terminationSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void TerminationSignal::unblockForChild()
{
    sigset_t none;
    sigemptyset(&none);
    pthread_sigmask(SIG_SETMASK, &none, nullptr);
}

TerminationSignal::TerminationSignal(QObject* parent)
    : QObject(parent)
{
    const sigset_t set = terminationSet();
    m_fd = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (m_fd < 0)
        return;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        signalfd_siginfo info = {};
        while (::read(m_fd, &info, sizeof info) == ssize_t(sizeof info))
            Q_EMIT received(int(info.ssi_signo));
    });
}

TerminationSignal::~TerminationSignal()
{
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}
