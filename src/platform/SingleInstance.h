#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running instance per program file and user.
//
// The first instance listens on a local socket in the abstract namespace,
// named after the program file and the user id. Such a socket has no file on
// disk and vanishes with its process, so a crash leaves nothing that could
// block the next start. A later start connects, asks the running instance to
// bring its window forward and then ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        First,          // this process is the one instance
        AlreadyRunning, // another instance was asked to show itself
        Failed,         // the socket could not be set up
    };

    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString keyFor(const QString& programFileName);

    Outcome acquire();
    // Stops answering, so that a restarted program becomes the first
    // instance while this one is still ending.
    void release();

    QString errorText() const { return m_errorText; }

Q_SIGNALS:
    void activationRequested();

private:
    bool askRunningInstance();
    void onNewConnection();

    QString m_key;
    QLocalServer* m_server = nullptr;
    QString m_errorText;
};
