#pragma once

#include "base/Prompt.h"

class QWidget;

// Message boxes with Japanese buttons ("はい"/"いいえ", "OK").
class WidgetPrompt final : public Prompt
{
public:
    explicit WidgetPrompt(QWidget* parent = nullptr);

    void setParent(QWidget* parent) { m_parent = parent; }

    Answer question(const QString& text, Answer defaultAnswer = Answer::Yes) override;
    void information(const QString& text) override;
    void error(const QString& text) override;
    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& suggestedPath, const QString& filter) override;
    QStringList openFileNames(const QString& folder, const QString& filter, int* filterIndex) override;
    QString mailboxPath(const QString& folder) override;

private:
    QWidget* m_parent;
};
