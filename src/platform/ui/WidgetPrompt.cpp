#include "platform/ui/WidgetPrompt.h"

#include "base/AppInfo.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

WidgetPrompt::WidgetPrompt(QWidget* parent)
    : m_parent(parent)
{ }

Prompt::Answer WidgetPrompt::question(const QString& text, Answer defaultAnswer)
{
    QMessageBox box(QMessageBox::Question, AppInfo::Title, text, QMessageBox::NoButton, m_parent);
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    box.setDefaultButton(defaultAnswer == Answer::Yes ? yes : no);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}

void WidgetPrompt::information(const QString& text)
{
    QMessageBox box(QMessageBox::Information, AppInfo::Title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

void WidgetPrompt::error(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, AppInfo::Title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

QString WidgetPrompt::openFileName(const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(m_parent, caption, folder, filter);
}

QString WidgetPrompt::saveFileName(const QString& suggestedPath, const QString& filter)
{
    return QFileDialog::getSaveFileName(m_parent, QString(), suggestedPath, filter);
}

QStringList WidgetPrompt::openFileNames(const QString& folder, const QString& filter, int* filterIndex)
{
    QFileDialog dialog(m_parent, QString(), folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::ReadOnly, false);
    // A filter's second parenthesis is the pattern Qt filters by; the
    // caption before it is what the user reads.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    const QStringList filters = filter.split(QStringLiteral(";;"));
    if (filterIndex && *filterIndex >= 0 && *filterIndex < filters.size())
        dialog.selectNameFilter(filters.at(*filterIndex));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (filterIndex)
        *filterIndex = int(filters.indexOf(dialog.selectedNameFilter()));
    return dialog.selectedFiles();
}

QString WidgetPrompt::mailboxPath(const QString& folder)
{
    // A file dialog chooses either files or folders: ask which first.
    QMessageBox box(QMessageBox::Question, AppInfo::Title,
                    QStringLiteral("取り込むメールボックスを選んでください\r\n"
                                   "mbox ファイル (Thunderbird のローカルフォルダーなど) か Maildir フォルダー"),
                    QMessageBox::NoButton, m_parent);
    QPushButton* mbox = box.addButton(QStringLiteral("mbox ファイル"), QMessageBox::AcceptRole);
    QPushButton* maildir = box.addButton(QStringLiteral("Maildir フォルダー"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(mbox);
    box.exec();
    if (box.clickedButton() == mbox)
        return QFileDialog::getOpenFileName(m_parent, QStringLiteral("mbox ファイル"), folder);
    if (box.clickedButton() == maildir)
        return QFileDialog::getExistingDirectory(m_parent, QStringLiteral("Maildir フォルダー"), folder);
    return {};
}
