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
        message.done = file.pos();
        message.total = file.size();
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

struct MaildirFile
{
    QString mailbox;
    QString path;
};

// One Maildir folder's messages: cur/ then new/, each in name order.
void listMaildirFolder(const QDir& dir, const QString& name, QList<MaildirFile>* files)
{
    for (const char* sub : {"cur", "new"}) {
        const QDir messages(dir.filePath(QString::fromLatin1(sub)));
        for (const QFileInfo& info : messages.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
            files->append({name, info.filePath()});
    }
}

// A Maildir and every Maildir below it (Maildir++ ".Sent" folders and
// nested trees alike), each folder a mailbox of its own. Listed first, so
// that progress can be told against the whole.
void listMaildirTree(const QDir& dir, const QString& name, QList<MaildirFile>* files)
{
    if (isMaildir(dir))
        listMaildirFolder(dir, name, files);
    const QFileInfoList folders = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo& folder : folders) {
        const QString sub = folder.fileName();
        if (sub == QLatin1String("cur") || sub == QLatin1String("new") || sub == QLatin1String("tmp")
            || folder.isSymLink())
            continue;
        listMaildirTree(QDir(folder.filePath()), name + u'_' + (sub.startsWith(u'.') ? sub.mid(1) : sub), files);
    }
}

QString readMaildir(const QString& path, const std::function<bool(const Message&)>& visit)
{
    QList<MaildirFile> files;
    listMaildirTree(QDir(path), QFileInfo(QDir::cleanPath(path)).fileName(), &files);
    Message message;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (files.at(i).mailbox != message.mailbox) {
            message.mailbox = files.at(i).mailbox;
            message.position = 0;
        }
        QFile file(files.at(i).path);
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("メールを読めません: %1 (%2)").arg(files.at(i).path, file.errorString());
        message.bytes = file.readAll();
        ++message.position;
        message.done = i + 1;
        message.total = files.size();
        if (!visit(message))
            return {};
    }
    return {};
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
    case Kind::Maildir:
        return readMaildir(path, visit);
    case Kind::None:
        break;
    }
    return QStringLiteral("mbox ファイルでも Maildir フォルダーでもありません: %1").arg(path);
}

} // namespace MailboxReader
