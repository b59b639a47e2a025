#pragma once

#include "base/Prompt.h"

#include <QList>
#include <QStringList>

// Answers questions from a prepared queue (Cancel when it runs dry) and
// records every text that would have been shown.
class RecordingPrompt final : public Prompt
{
public:
    QList<Answer> answers;
    QStringList questions;
    QList<Answer> defaults; // the default button of each question asked
    QStringList informations;
    QStringList errors;
    QStringList fileAnswers;        // answers to file dialogs, in order; empty: cancelled
    QStringList fileDialogs;        // the captions of the file dialogs shown
    QStringList saveAnswers;        // answers to save dialogs, in order; empty: cancelled
    QStringList saveSuggestions;    // the names the save dialogs offered
    QList<QStringList> openAnswers; // answers to multi-file open dialogs
    QList<int> filterShown;         // the filter index each multi-file dialog started on
    QList<int> filterChoices;
    QStringList mailboxAnswers; // answers to the mailbox choice, in order; empty: cancelled       // the filter the
                                // user picks in each, in order

    Answer question(const QString& text, Answer defaultAnswer = Answer::Yes) override;
    void information(const QString& text) override;
    void error(const QString& text) override;
    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& suggestedPath, const QString& filter) override;
    QStringList openFileNames(const QString& folder, const QString& filter, int* filterIndex) override;
    QString mailboxPath(const QString& folder) override;

    QStringList everything() const { return questions + informations + errors; }
};
