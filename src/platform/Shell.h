#pragma once

#include <QString>
#include <QStringList>

class ChildProcessRunner;

// Opening a file with the program the desktop associates with its type.
class Shell
{
public:
    virtual ~Shell() = default;
    // Starts the associated program and waits, keeping the window alive,
    // until it ends. False when no program could be started.
    virtual bool openAndWait(const QString& path) = 0;
};

// The freedesktop.org way: the default application of the file's MIME type
// (mimeapps.list, as "xdg-mime query default" answers), its desktop entry's
// Exec line started as a child process and waited for. Without a default
// application, "xdg-open" is asked instead.
class XdgShell final : public Shell
{
public:
    explicit XdgShell(ChildProcessRunner& runner);
    bool openAndWait(const QString& path) override;

    // The command line of a desktop entry's Exec value for one file.
    static QStringList commandFor(const QString& exec, const QString& path);
    // The desktop entry file named, searched in the XDG data folders.
    static QString findDesktopEntry(const QString& desktopId);
    static QString execOf(const QString& desktopEntryPath);

private:
    ChildProcessRunner& m_runner;
};
