#pragma once

#include <QString>

#include <memory>

// A second name without ":" for a local archive file whose name has one.
// The Firebird client reads the text before a ":" as a server's name, so
// "backup 10:30.fdb" could never be opened by its own name. A hard link in
// the same folder is the same file to the engine (its lock follows the
// file, not the name); it is removed again when the connection closes.
class ColonFreeAlias
{
public:
    ~ColonFreeAlias();
    ColonFreeAlias(const ColonFreeAlias&) = delete;
    ColonFreeAlias& operator=(const ColonFreeAlias&) = delete;

    // Null with the reason when no alias can be made: the folder's own path
    // has a ":", or its file system has no hard links.
    static std::unique_ptr<ColonFreeAlias> make(const QString& path, QString* error);

    QString path() const { return m_alias; }

private:
    explicit ColonFreeAlias(const QString& alias)
        : m_alias(alias)
    { }
    QString m_alias;
};
