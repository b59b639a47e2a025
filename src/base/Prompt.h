#pragma once

#include <QString>
#include <QStringList>

// Every question and message box of the program goes through this interface,
// so that the core can ask without knowing widgets and a test can answer.
class Prompt
{
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompt() = default;

    // A confirmation with "はい" and "いいえ"; anything but Yes cancels.
    // defaultAnswer: the button that Enter presses.
    virtual Answer question(const QString& text, Answer defaultAnswer = Answer::Yes) = 0;
    virtual void information(const QString& text) = 0;
    virtual void error(const QString& text) = 0;

    // A file to open; an empty text when the user cancels. filter uses
    // Qt's form: "Firebird DBファイル (*.fdb);;Interbase DBファイル (*.gdb)".
    virtual QString openFileName(const QString& caption, const QString& folder, const QString& filter) = 0;
    // A file to write, the suggested name offered; the dialog asks before
    // overwriting. An empty text when the user cancels.
    virtual QString saveFileName(const QString& suggestedPath, const QString& filter) = 0;
    // Several files to open, in the order chosen; empty when cancelled.
    // filterIndex: the filter shown first, and on return the one chosen.
    virtual QStringList openFileNames(const QString& folder, const QString& filter, int* filterIndex) = 0;
    // An mbox file or a Maildir folder to import; empty when cancelled.
    virtual QString mailboxPath(const QString& folder) = 0;
};
