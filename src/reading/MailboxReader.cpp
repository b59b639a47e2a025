#include "reading/MailboxReader.h"

#include "base/SafePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace MailboxReader {
namespace {

bool isBlankLine(const QByteArray& line)
{
    return line == "\n" || line == "\r\n";
}

QString readMbox(const QString& path, const std::function<bool(const Message&)>& visit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("メールボックスを読めません: %1 (%2)").arg(path, file.errorString());
    Message message;
    message.mailbox = QFileInfo(path).completeBaseName();
    bool inMessage = false;
    qsizetype lastBlank = 0; // length of the blank line that ended the buffer, or 0
    const auto finish = [&]() -> bool {
        if (!inMessage)
            return true;
        message.bytes.chop(lastBlank); // the blank line before the next separator
        ++message.position;
        const bool go = visit(message);
        message.bytes.clear();
        return go;
    };
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.isEmpty() && file.error() != QFileDevice::NoError)
            return QStringLiteral("メールボックスを読めません: %1 (%2)").arg(path, file.errorString());
        if (line.startsWith("From ")) {
            if (!finish())
                return {};
            inMessage = true;
            lastBlank = 0;
            continue;
        }
        if (!inMessage)
            continue; // nothing before the first separator belongs to a message
        message.bytes += line;
        lastBlank = isBlankLine(line) ? line.size() : 0;
    }
    finish();
    return {};
}

bool isMaildir(const QDir& dir)
{
    return QFileInfo(dir.filePath(QStringLiteral("cur"))).isDir()
        || QFileInfo(dir.filePath(QStringLiteral("new"))).isDir();
}

// One Maildir folder's messages: cur/ then new/, each in name order.
bool readMaildirFolder(const QDir& dir, const QString& name, const std::function<bool(const Message&)>& visit,
                       QString* error)
{
    Message message;
    message.mailbox = name;
    for (const char* sub : {"cur", "new"}) {
        const QDir messages(dir.filePath(QString::fromLatin1(sub)));
        const QFileInfoList files = messages.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& info : files) {
            QFile file(info.filePath());
            if (!file.open(QIODevice::ReadOnly)) {
                *error = QStringLiteral("メールを読めません: %1 (%2)").arg(info.filePath(), file.errorString());
                return false;
            }
            message.bytes = file.readAll();
            ++message.position;
            if (!visit(message))
                return false;
        }
    }
    return true;
}

// A Maildir and every Maildir below it (Maildir++ ".Sent" folders and
// nested trees alike), each folder a mailbox of its own.
bool readMaildirTree(const QDir& dir, const QString& name, const std::function<bool(const Message&)>& visit,
                     QString* error)
{
    if (isMaildir(dir) && !readMaildirFolder(dir, name, visit, error))
        return false;
    const QFileInfoList folders = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo& folder : folders) {
        const QString sub = folder.fileName();
        if (sub == QLatin1String("cur") || sub == QLatin1String("new") || sub == QLatin1String("tmp")
            || folder.isSymLink())
            continue;
        QString child = sub.startsWith(u'.') ? sub.mid(1) : sub;
        child = name + u'_' + child;
        if (!readMaildirTree(QDir(folder.filePath()), child, visit, error))
            return false;
    }
    return true;
}

} // namespace

Kind kindOf(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        const QDir dir(path);
        if (isMaildir(dir))
            return Kind::Maildir;
        // A tree whose top is only a container of Maildirs.
        const QFileInfoList folders = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QFileInfo& folder : folders) {
            if (isMaildir(QDir(folder.filePath())))
                return Kind::Maildir;
        }
        return Kind::None;
    }
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return Kind::None;
    const QByteArray head = file.read(5);
    return head.isEmpty() || head == "From " ? Kind::Mbox : Kind::None;
}

QString storedName(const Message& message)
{
    return safeFileName(QStringLiteral("%1_%2.eml").arg(message.mailbox).arg(message.position, 6, 10, QChar(u'0')));
}

QString forEachMessage(const QString& path, const std::function<bool(const Message&)>& visit)
{
    switch (kindOf(path)) {
    case Kind::Mbox:
        return readMbox(path, visit);
    case Kind::Maildir: {
        QString error;
        readMaildirTree(QDir(path), QFileInfo(QDir::cleanPath(path)).fileName(), visit, &error);
        return error;
    }
    case Kind::None:
        break;
    }
    return QStringLiteral("mbox ファイルでも Maildir フォルダーでもありません: %1").arg(path);
}

} // namespace MailboxReader
