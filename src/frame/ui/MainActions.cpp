#include "frame/ui/MainActions.h"

#include <QAction>
#include <QKeySequence>

MainActions::MainActions(QObject* parent)
    : QObject(parent)
{
    MessageOpen = make("MessageOpen", QStringLiteral("メールを開く (&O)"));
    MessageSave = make("MessageSave", QStringLiteral("メールを保存する (&M)"), false);
    MailboxImport = make("MailboxImport", QStringLiteral("メールボックスの取り込み (&I)"));
    FontBarShow = make("FontBarShow", QStringLiteral("フォントメニューバー表示 (&F)"), false);
    ButtonBarShow = make("ButtonBarShow", QStringLiteral("ボタンメニューバー表示 (&B)"), false);
    FileExit = make("FileExit", QStringLiteral("終了(&X)"));

    DBUpdate = make("DBUpdate", QStringLiteral("DB更新 (&D)"), false);
    DBConnect = make("DBConnect", QStringLiteral("DB接続 (&C)"));
    DBSelect = make("DBSelect", QStringLiteral("DB検索 (&R)"));
    DispMsgDat = make("DispMsgDat", QStringLiteral("メッセージの表示 (&M)"), false);
    ExprtMsgFile = make("ExprtMsgFile", QStringLiteral("メッセージファイルのエクスポート (&E)"), false);
    DBBackup = make("DBBackup", QStringLiteral("DBファイルのバックアップ (&B)"));
    MLSender = make("MLSender", QStringLiteral("メールの一斉送信 (&S)"));
    MLSender->setCheckable(true);

    DBFileSet = make("DBFileSet", QStringLiteral("DBファイル設定(&D)"));
    DispTAB1 = make("DispTAB1", QStringLiteral("書誌情報TAB(&T)"));
    DispTAB1->setCheckable(true);
    DispTAB3 = make("DispTAB3", QStringLiteral("パラメータ設定TAB(&A)"));
    DispTAB3->setCheckable(true);
    const QStringList themeCaptions{QStringLiteral("システム設定を使用する(&Z)"), QStringLiteral("ライト(&Y)"),
                                    QStringLiteral("ダーク (&D)"), QStringLiteral("オーロラ(&W)"),
                                    QStringLiteral("クラシック(&X)")};
    for (int i = 0; i < themeCaptions.size(); ++i) {
        QAction* a = make(QStringLiteral("Theme%1").arg(i).toLatin1().constData(), themeCaptions.at(i));
        // Independent check items: choosing one checks it at once, and a
        // declined restart unchecks it again.
        a->setCheckable(true);
        Theme << a;
    }

    Hcontents = make("Hcontents", QStringLiteral("目次 (&I)"));
    Hkeyword = make("Hkeyword", QStringLiteral("キーワード(&Y)"));
    About = make("About", QStringLiteral("バージョン情報 (&V)"));

    Zoom_DecMgn = make("Zoom_DecMgn", QStringLiteral("縮小表示"), false);
    Zoom_DecMgn->setToolTip(QStringLiteral("表示倍率－"));
    Zoom_IncMgn = make("Zoom_IncMgn", QStringLiteral("拡大表示"), false);
    Zoom_IncMgn->setToolTip(QStringLiteral("表示倍率＋"));
    EditorPrint = make("EditorPrint", QStringLiteral("テキストメッセージ印刷 (&T)"));
    EditorPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    SetListFontSize = make("SetListFontSize", QStringLiteral("フォントサイズ"), false);
}

QAction* MainActions::make(const char* name, const QString& caption, bool enabled)
{
    auto* action = new QAction(caption, parent());
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    return action;
}
