#include "support/RecordingPrompt.h"

Prompt::Answer RecordingPrompt::question(const QString& text, Answer defaultAnswer)
{
    questions << text;
    defaults << defaultAnswer;
    return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
}

void RecordingPrompt::information(const QString& text)
{
    informations << text;
}

void RecordingPrompt::error(const QString& text)
{
    errors << text;
}

QString RecordingPrompt::openFileName(const QString& caption, const QString&, const QString& filter)
{
    fileDialogs << caption + QStringLiteral(" | ") + filter;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString RecordingPrompt::saveFileName(const QString& suggestedPath, const QString&)
{
    saveSuggestions << suggestedPath;
    return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
}

QStringList RecordingPrompt::openFileNames(const QString& folder, const QString& filter, int* filterIndex)
{
    fileDialogs << folder + QStringLiteral(" | ") + filter;
    if (filterIndex) {
        filterShown << *filterIndex;
        if (!filterChoices.isEmpty())
            *filterIndex = filterChoices.takeFirst();
    }
    return openAnswers.isEmpty() ? QStringList() : openAnswers.takeFirst();
}

QString RecordingPrompt::mailboxPath(const QString&)
{
    return mailboxAnswers.isEmpty() ? QString() : mailboxAnswers.takeFirst();
}
