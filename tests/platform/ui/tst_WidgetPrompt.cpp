#include "platform/ui/WidgetPrompt.h"

#include <QApplication>
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

QTEST_MAIN(TestWidgetPrompt)
#include "tst_WidgetPrompt.moc"
