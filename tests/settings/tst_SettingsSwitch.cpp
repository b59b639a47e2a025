#include "base/QuilletState.h"
#include "settings/SettingsFolders.h"
#include "settings/SettingsSwitch.h"
#include "support/RecordingPrompt.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QtTest>

using namespace SettingsSwitch;
using Answer = Prompt::Answer;

namespace {

const QString kProgram = QStringLiteral("tallowin");

// A program running from the given folder, as start-up would leave it.
QuilletState runningFrom(const QString& folder)
{
    QuilletState state;
    state.MyAppDataPath = folder;
    state.IniFilePath = configFilePath(folder, kProgram);
    state.common_ConfigFlg = true;
    QDir().mkpath(workFolderPath(folder));
    return state;
}

void putFile(const QString& folder, const QString& name, const QByteArray& content)
{
    TestEnvironment::writeFile(QDir(folder).filePath(name), content);
}

QByteArray fileIn(const QString& folder, const QString& name)
{
    return TestEnvironment::readFile(QDir(folder).filePath(name));
}

} // namespace

class TestSettingsSwitch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modeAndCaption();
    void toIndividualFromInitialAsksNothing();
    void toIndividualWithCommon_data();
    void toIndividualWithCommon();
    void toCommonCopiesWhenAsked();
    void toCommonNoKeepsCommonAndRestarts();
    void toCommonCancelChangesNothing();
    void toCommonWithoutCommonFolderCreatesIt();
    void toCommonKeepsIndividualWhenCommonCannotBeMade();
    void toCommonKeepsIndividualWhenCopyFails();
    void toCommonRemovalFailureKeepsPaths();
};

void TestSettingsSwitch::modeAndCaption()
{
    TestEnvironment env;
    const SettingsFolders f = env.folders();
    QCOMPARE(currentMode(f), Mode::Common);
    QCOMPARE(buttonCaption(currentMode(f)), QStringLiteral("個別設定にする"));
    QDir().mkpath(f.individual);
    QCOMPARE(currentMode(f), Mode::Individual);
    QCOMPARE(buttonCaption(currentMode(f)), QStringLiteral("共通設定にする"));
}

void TestSettingsSwitch::toIndividualFromInitialAsksNothing()
{
    TestEnvironment env;
    const SettingsFolders f = env.folders();
    putFile(f.initial, QStringLiteral("tallowin.ini"), "[MailDB]\nServer=initial\n");
    putFile(f.initial, QStringLiteral("$RNK_Name.Txt"), "label");
    QuilletState state = runningFrom(f.initial);
    putFile(workFolderPath(f.initial), QStringLiteral("x"), "work copy");
    RecordingPrompt prompt;

    const Outcome outcome = toIndividual(f, state, prompt, kProgram);
    QVERIFY(outcome.completed);
    QVERIFY(!outcome.restartNeeded);
    QVERIFY(prompt.questions.isEmpty());
    QCOMPARE(fileIn(f.individual, QStringLiteral("tallowin.ini")), QByteArray("[MailDB]\nServer=initial\n"));
    QCOMPARE(fileIn(f.individual, QStringLiteral("$RNK_Name.Txt")), QByteArray("label"));
    QCOMPARE(state.MyAppDataPath, f.individual);
    QCOMPARE(state.IniFilePath, f.individual + QStringLiteral("/tallowin.ini"));
    QVERIFY(state.common_ConfigFlg);
    // The work folder moved along: the program can go on opening mail.
    QVERIFY(QFileInfo(workFolderPath(f.individual)).isDir());
    QVERIFY(!QFileInfo::exists(workFolderPath(f.initial)));
    // Sub-folders are not copied.
    QVERIFY(!QFileInfo::exists(f.individual + QStringLiteral("/mail_dat/x")));
}

void TestSettingsSwitch::toIndividualWithCommon_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QByteArray>("copied");
    QTest::newRow("yes copies common") << int(Answer::Yes) << QByteArray("common");
    QTest::newRow("no copies initial") << int(Answer::No) << QByteArray("initial");
    QTest::newRow("cancel changes nothing") << int(Answer::Cancel) << QByteArray();
}

void TestSettingsSwitch::toIndividualWithCommon()
{
    QFETCH(int, answer);
    QFETCH(QByteArray, copied);
    TestEnvironment env;
    const SettingsFolders f = env.folders();
    putFile(f.initial, QStringLiteral("tallowin.ini"), "initial");
    putFile(f.common, QStringLiteral("tallowin.ini"), "common");
    QuilletState state = runningFrom(f.common);
    RecordingPrompt prompt;
    prompt.answers = {Answer(answer)};

    const Outcome outcome = toIndividual(f, state, prompt, kProgram);
    QCOMPARE(prompt.questions,
             QStringList{QStringLiteral("共通設定からコピーしますか？「No」のときは初期設定になります")});
    QVERIFY(!outcome.restartNeeded);
    if (copied.isEmpty()) {
        QVERIFY(!outcome.completed);
        QVERIFY(!QFileInfo::exists(f.individual));
        QCOMPARE(state.MyAppDataPath, f.common);
        return;
    }
    QVERIFY(outcome.completed);
    QCOMPARE(fileIn(f.individual, QStringLiteral("tallowin.ini")), copied);
    QCOMPARE(state.MyAppDataPath, f.individual);
}

void TestSettingsSwitch::toCommonCopiesWhenAsked()
{
    TestEnvironment env;
    const SettingsFolders f = env.folders();
    putFile(f.individual, QStringLiteral("tallowin.ini"), "mine");
    putFile(f.individual, QStringLiteral("$MailAddressList.txt"), "list");
    putFile(f.common, QStringLiteral("tallowin.ini"), "old common");
    QuilletState state = runningFrom(f.individual);
    RecordingPrompt prompt;
    prompt.answers = {Answer::Yes};

    const Outcome outcome = toCommon(f, state, prompt, kProgram);
    QCOMPARE(prompt.questions,
             QStringList{
                 QStringLiteral("現在の設定を共通設定にコピーしますか？「No」のときは、すでにある共通設定になります")});
    QVERIFY(outcome.completed);
    QVERIFY(!outcome.restartNeeded);
    QCOMPARE(fileIn(f.common, QStringLiteral("tallowin.ini")), QByteArray("mine"));
    QCOMPARE(fileIn(f.common, QStringLiteral("$MailAddressList.txt")), QByteArray("list"));
    QVERIFY(!QFileInfo::exists(f.individual));
    QCOMPARE(state.MyAppDataPath, f.common);
    QCOMPARE(state.IniFilePath, f.common + QStringLiteral("/tallowin.ini"));
    QVERIFY(state.common_ConfigFlg);
    QVERIFY(QFileInfo(workFolderPath(f.common)).isDir());
    QVERIFY(prompt.informations.isEmpty());
}

void TestSettingsSwitch::toCommonNoKeepsCommonAndRestarts()
{
    TestEnvironment env;
    const SettingsFolders f = env.folders();
    putFile(f.individual, QStringLiteral("tallowin.ini"), "mine");
    putFile(f.common, QStringLiteral("tallowin.ini"), "shared");
    QuilletState state = runningFrom(f.individual);
    RecordingPrompt prompt;
    prompt.answers = {Answer::No};

    const Outcome outcome = toCommon(f, state, prompt, kProgram);
    QVERIFY(outcome.restartNeeded);
    QVERIFY(!state.common_ConfigFlg); // nothing is written at close
    QCOMPARE(prompt.informations, QStringList{QStringLiteral("プログラムを再起動します")});
    QCOMPARE(fileIn(f.common, QStringLiteral("tallowin.ini")), QByteArray("shared"));
    QVERIFY(!QFileInfo::exists(f.individual));
    QCOMPARE(state.MyAppDataPath, f.common);
}

void TestSettingsSwitch::toCommonCancelChangesNothing()
{
    TestEnvironment env;
    const SettingsFolders f = env.folders();
    putFile(f.individual, QStringLiteral("tallowin.ini"), "mine");
    QDir().mkpath(f.common);
    QuilletState state = runningFrom(f.individual);
    RecordingPrompt prompt; // no answer: the box was closed

    const Outcome outcome = toCommon(f, state, prompt, kProgram);
    QVERIFY(!outcome.completed);
    QVERIFY(!outcome.restartNeeded);
    QCOMPARE(fileIn(f.individual, QStringLiteral("tallowin.ini")), QByteArray("mine"));
    QCOMPARE(state.MyAppDataPath, f.individual);
    QVERIFY(state.common_ConfigFlg);
}

void TestSettingsSwitch::toCommonWithoutCommonFolderCreatesIt()
{
    TestEnvironment env;
    const SettingsFolders f = env.folders();
    putFile(f.individual, QStringLiteral("tallowin.ini"), "mine");
    putFile(f.individual, QStringLiteral("$SMTPPass_Code"), "secret");
    QuilletState state = runningFrom(f.individual);
    RecordingPrompt prompt;

    const Outcome outcome = toCommon(f, state, prompt, kProgram);
    QVERIFY(prompt.questions.isEmpty());
    QVERIFY(outcome.completed);
    QVERIFY(!outcome.restartNeeded);
    // The settings moved into a new common folder, never into the program's.
    QCOMPARE(state.MyAppDataPath, f.common);
    QCOMPARE(state.IniFilePath, f.common + QStringLiteral("/tallowin.ini"));
    QCOMPARE(fileIn(f.common, QStringLiteral("tallowin.ini")), QByteArray("mine"));
    QCOMPARE(fileIn(f.common, QStringLiteral("$SMTPPass_Code")), QByteArray("secret"));
    QVERIFY(!QFileInfo::exists(f.individual));
    QVERIFY(state.common_ConfigFlg);
}

void TestSettingsSwitch::toCommonKeepsIndividualWhenCommonCannotBeMade()
{
    // As for a common folder under /etc/xdg that only the administrator can
    // create: here a file stands where the folder would be.
    TestEnvironment env;
    const SettingsFolders f = env.folders();
    putFile(f.individual, QStringLiteral("tallowin.ini"), "mine");
    TestEnvironment::writeFile(f.common, "a file, not a folder");
    QuilletState state = runningFrom(f.individual);
    RecordingPrompt prompt;

    const Outcome outcome = toCommon(f, state, prompt, kProgram);
    QVERIFY(!outcome.completed);
    QCOMPARE(prompt.errors.size(), 1);
    QVERIFY(prompt.errors.first().startsWith(QStringLiteral("共通設定フォルダーにコピーできません")));
    QCOMPARE(fileIn(f.individual, QStringLiteral("tallowin.ini")), QByteArray("mine"));
    QCOMPARE(state.MyAppDataPath, f.individual);
    QVERIFY(state.common_ConfigFlg);
}

void TestSettingsSwitch::toCommonKeepsIndividualWhenCopyFails()
{
    TestEnvironment env;
    const SettingsFolders f = env.folders();
    putFile(f.individual, QStringLiteral("tallowin.ini"), "mine");
    ReadOnlyFolder locked(f.common);
    if (!locked.active())
        QSKIP("this file system cannot make a folder read-only");
    QuilletState state = runningFrom(f.individual);
    RecordingPrompt prompt;
    prompt.answers = {Answer::Yes};

    const Outcome outcome = toCommon(f, state, prompt, kProgram);
    QVERIFY(!outcome.completed);
    QCOMPARE(prompt.errors.size(), 1);
    QVERIFY(prompt.errors.first().startsWith(QStringLiteral("共通設定フォルダーにコピーできません")));
    QCOMPARE(fileIn(f.individual, QStringLiteral("tallowin.ini")), QByteArray("mine"));
    QCOMPARE(state.MyAppDataPath, f.individual);
}

void TestSettingsSwitch::toCommonRemovalFailureKeepsPaths()
{
    TestEnvironment env;
    const SettingsFolders f = env.folders();
    putFile(f.individual, QStringLiteral("tallowin.ini"), "mine");
    putFile(f.common, QStringLiteral("tallowin.ini"), "shared");
    QuilletState state = runningFrom(f.individual);
    UndeletableFolder stuck(f.individual);
    if (!stuck.active())
        QSKIP("this file system cannot make a folder undeletable");
    RecordingPrompt prompt;
    prompt.answers = {Answer::No};

    const Outcome outcome = toCommon(f, state, prompt, kProgram);
    QCOMPARE(prompt.informations,
             (QStringList{QStringLiteral("フォルダーが残されています"), QStringLiteral("プログラムを再起動します")}));
    // The restart happens whatever the removal did.
    QVERIFY(outcome.restartNeeded);
    QCOMPARE(state.MyAppDataPath, f.individual);
    QCOMPARE(state.IniFilePath, f.individual + QStringLiteral("/tallowin.ini"));
}

QTEST_GUILESS_MAIN(TestSettingsSwitch)
#include "tst_SettingsSwitch.moc"
