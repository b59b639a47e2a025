#include "platform/ui/WidgetPrompt.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

// The message boxes behind the prompt interface: the named default button
// is the one Enter presses.
class TestWidgetPrompt : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void enterPressesTheDefaultButton_data();
    void enterPressesTheDefaultButton();
    void openDialogShowsCaptionsAndKeepsTheFilterIndex();
};

void TestWidgetPrompt::enterPressesTheDefaultButton_data()
{
    QTest::addColumn<Prompt::Answer>("defaultAnswer");
    QTest::addColumn<QString>("defaultCaption");
    QTest::newRow("はい") << Prompt::Answer::Yes << QStringLiteral("はい");
    QTest::newRow("いいえ") << Prompt::Answer::No << QStringLiteral("いいえ");
}

void TestWidgetPrompt::enterPressesTheDefaultButton()
{
    QFETCH(Prompt::Answer, defaultAnswer);
    QFETCH(QString, defaultCaption);
    WidgetPrompt prompt;
    QString shownDefault;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        shownDefault = box->defaultButton() ? box->defaultButton()->text() : QString();
        QTest::keyClick(box, Qt::Key_Return);
    });
    const Prompt::Answer answer = prompt.question(QStringLiteral("質問"), defaultAnswer);
    QCOMPARE(shownDefault, defaultCaption);
    QCOMPARE(answer, defaultAnswer);
}

void TestWidgetPrompt::openDialogShowsCaptionsAndKeepsTheFilterIndex()
{
    // The dialog remembers its state in the user's configuration: a private one.
    TestEnvironment env;
    WidgetPrompt prompt;
    QStringList shown;
    QString current;
    QTimer::singleShot(100, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        for (int i = 0; i < types->count(); ++i)
            shown << types->itemText(i);
        current = types->currentText();
        dialog->reject();
    });
    int index = 1;
    const QStringList chosen = prompt.openFileNames(
        env.root(),
        QStringLiteral("テキストファイル (*.txt) (*.txt);;E-Mailファイル(*.eml) (*.eml);;全てのファイル(*.*) (*)"),
        &index);
    QVERIFY(chosen.isEmpty());
    QCOMPARE(shown,
             (QStringList{QStringLiteral("テキストファイル (*.txt)"), QStringLiteral("E-Mailファイル(*.eml)"),
                          QStringLiteral("全てのファイル(*.*)")}));
    QCOMPARE(current, QStringLiteral("E-Mailファイル(*.eml)"));
}

QTEST_MAIN(TestWidgetPrompt)
#include "tst_WidgetPrompt.moc"
