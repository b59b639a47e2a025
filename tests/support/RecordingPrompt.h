#pragma once

#include "platform/Prompt.h"

#include <QList>
#include <QStringList>

// Answers questions from a prepared queue (Cancel when it runs dry) and
// records every text that would have been shown.
class RecordingPrompt final : public Prompt
{
public:
    QList<Answer> answers;
    QStringList questions;
    QStringList informations;
    QStringList errors;

    Answer question(const QString& text) override;
    void information(const QString& text) override;
    void error(const QString& text) override;

    QStringList everything() const { return questions + informations + errors; }
};
