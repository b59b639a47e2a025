#include "settings/AppSettings.h"

#include "settings/IniFile.h"
#include "settings/SettingsKeys.h"

using namespace SettingsKeys;

namespace {

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

void readWindow(const IniFile& ini, WindowSettings& w)
{
    w.left = ini.readInteger(Window, key("Left"), 50);
    w.top = ini.readInteger(Window, key("Top"), 50);
    w.width = ini.readInteger(Window, key("Width"), 640);
    w.height = ini.readInteger(Window, key("Height"), 480);
    w.panel1Height = qMax(10, ini.readInteger(Window, key("Panel1Height"), 300));
}

void readConnection(const IniFile& ini, ConnectionSettings& c)
{
    c.mailerIndx = ini.readInteger(Connection, key("MailerIndx"), 0);
    c.exchangerAccount = ini.readString(Connection, key("ExchangerAccount"), QString());
    c.mailTabindx = ini.readInteger(Connection, key("Mail_Tabindx"), 0);
    c.myMailAddress = ini.readString(Connection, key("MyMailAddress"), QString());
    c.fromName = ini.readString(Connection, key("FromName"), QString());
    c.smtpHost = ini.readString(Connection, key("SMTP_Host"), QStringLiteral("localhost"));
    c.smtpPort = ini.readString(Connection, key("SMTP_Port"), QStringLiteral("25"));
    c.smtpUser = ini.readString(Connection, key("SMTP_User"), QString());
    c.mailEncode = ini.readInteger(Connection, key("Mail_Encode"), 0);
}

void writeConnection(IniFile& ini, const ConnectionSettings& c)
{
    ini.writeInteger(Connection, key("MailerIndx"), c.mailerIndx);
    ini.writeString(Connection, key("ExchangerAccount"), c.exchangerAccount);
    ini.writeInteger(Connection, key("Mail_Tabindx"), c.mailTabindx);
    ini.writeString(Connection, key("MyMailAddress"), c.myMailAddress);
    ini.writeString(Connection, key("FromName"), c.fromName);
    ini.writeString(Connection, key("SMTP_Host"), c.smtpHost);
    ini.writeString(Connection, key("SMTP_Port"), c.smtpPort);
    ini.writeString(Connection, key("SMTP_User"), c.smtpUser);
    ini.writeInteger(Connection, key("Mail_Encode"), c.mailEncode);
    ini.writeString(Connection, key("MyMailSubject"), c.myMailSubject);
}

} // namespace

AppSettings readAppSettings(const IniFile& ini, const ReadOptions& options)
{
    AppSettings s;
    readWindow(ini, s.window);
    s.listWindow.width = ini.readInteger(LWindow, key("Width"), 640);
    s.listWindow.height = ini.readInteger(LWindow, key("Height"), 240);
    s.mlFilterIndex = ini.readInteger(Condition, key("MLFilter_Index"), 0);
    s.mlReadPath = ini.readString(Condition, key("MLRead_Path"), QString());
    s.mlStorePath = ini.readString(Condition, key("MLStore_Path"), QString());
    s.tab1Visible = ini.readBool(Condition, key("TAB1_Visible"), false);
    s.tab3Visible = ini.readBool(Condition, key("TAB3_Visible"), false);
    s.server = ini.readString(MailDB, key("Server"), QStringLiteral("localhost"));
    s.dbPath = ini.readString(MailDB, key("DBPath"), QString());
    s.parameters.read(ini);
    s.grid.read(ini);
    s.grid.resetIfIncomplete();
    if (!options.themeFromCommandLine)
        s.theme = ini.readInteger(Condition, key("Theme"), 0);
    s.fontName = ini.readString(Condition, key("FontName"), QStringLiteral("Meiryo UI"));
    s.fontSize = ini.readInteger(Condition, key("FontSize"), 9);
    s.fontColor = ini.readInteger(Condition, key("FontColor"), 0);
    s.window.treeViewSW = ini.readBool(Window, key("TreeViewSW"), true);
    s.window.treeViewWidth = ini.readInteger(Window, key("TreeViewWidth"), 160);
    if (s.window.treeViewWidth < 10)
        s.window.treeViewWidth = 160;
    s.viewStyleNum = ini.readInteger(Condition, key("ViewStyleNum"), 0);
    s.mskFlg = ini.readBool(Condition, key("MSKFlg"), false);
    s.homeFlg = ini.readBool(Condition, key("HomeFlg"), true);
    s.homePath = ini.readString(Condition, key("HomePath"), QString());
    s.buPath = ini.readString(Condition, key("BUPath"), QString());
    s.ldPath = ini.readString(Condition, key("LDPath"), QString());
    s.chkBx8 = ini.readBool(Condition, key("ChkBx8"), false);
    s.chkBx9 = ini.readBool(Condition, key("ChkBx9"), false);
    s.rGroup4 = ini.readInteger(Condition, key("RGroup4"), 0);
    s.fileBrowserColumns.read(ini);
    s.dSelctRGroup1 = ini.readInteger(Condition, key("DSelctRGroup1"), 0);
    s.dLstFrmFntSize = ini.readInteger(Condition, key("DLstFrmFntSize"), 8);
    readConnection(ini, s.connection);
    for (int i = 0; i < options.recipientCount; ++i)
        s.recipientTicks << ini.readBool(ADCondition, QStringLiteral("ADRS%1").arg(i), false);
    s.connection.myMailSubject = ini.readString(Connection, key("MyMailSubject"), QString());
    return s;
}

void writeAppSettings(IniFile& ini, const AppSettings& s)
{
    ini.writeInteger(Window, key("Left"), s.window.left);
    ini.writeInteger(Window, key("Top"), s.window.top);
    ini.writeInteger(Window, key("Width"), s.window.width);
    ini.writeInteger(Window, key("Height"), s.window.height);
    ini.writeInteger(Window, key("Panel1Height"), s.window.panel1Height);
    ini.writeInteger(LWindow, key("Width"), s.listWindow.width);
    ini.writeInteger(LWindow, key("Height"), s.listWindow.height);
    ini.writeInteger(Condition, key("Theme"), s.theme);
    ini.writeInteger(Condition, key("MLFilter_Index"), s.mlFilterIndex);
    ini.writeString(Condition, key("MLRead_Path"), s.mlReadPath);
    ini.writeString(Condition, key("MLStore_Path"), s.mlStorePath);
    s.parameters.write(ini);
    ini.writeString(Condition, key("FontName"), s.fontName);
    ini.writeInteger(Condition, key("FontSize"), s.fontSize);
    ini.writeInteger(Condition, key("FontColor"), s.fontColor);
    ini.writeBool(Condition, key("TAB1_Visible"), s.tab1Visible);
    ini.writeBool(Condition, key("TAB3_Visible"), s.tab3Visible);
    ini.writeString(MailDB, key("Server"), s.server);
    ini.writeString(MailDB, key("DBPath"), s.dbPath);
    s.grid.write(ini);
    // The home folder is written back only when it was in use at start-up.
    if (s.homeFlg)
        ini.writeString(Condition, key("HomePATH"), s.homePath);
    s.fileBrowserColumns.write(ini);
    ini.writeString(Condition, key("LDPath"), s.ldPath);
    ini.writeString(Condition, key("BUPath"), s.buPath);
    ini.writeBool(Condition, key("ChkBx8"), s.chkBx8);
    ini.writeBool(Condition, key("ChkBx9"), s.chkBx9);
    ini.writeInteger(Condition, key("RGroup4"), s.rGroup4);
    ini.writeBool(Window, key("TreeViewSW"), s.window.treeViewSW);
    ini.writeInteger(Window, key("TreeViewWidth"), s.window.treeViewWidth);
    ini.writeInteger(Condition, key("ViewStyleNum"), s.viewStyleNum);
    ini.writeBool(Condition, key("MSKFlg"), s.mskFlg);
    ini.writeBool(Condition, key("HomeFlg"), true);
    ini.writeInteger(Condition, key("DSelctRGroup1"), s.dSelctRGroup1);
    ini.writeInteger(Condition, key("DLstFrmFntSize"), s.dLstFrmFntSize);
    writeConnection(ini, s.connection);
    // Rewritten whole: ticks of entries that are no longer in the list must
    // not tick a later entry that takes their place.
    ini.eraseSection(ADCondition);
    for (int i = 0; i < s.recipientTicks.size(); ++i)
        ini.writeBool(ADCondition, QStringLiteral("ADRS%1").arg(i), s.recipientTicks.at(i));
}

QRect fitOntoDesktop(const QRect& window, const QRect& desktop)
{
    QRect r = window;
    if (r.left() < desktop.left())
        r.moveLeft(desktop.left());
    else if (r.x() + r.width() > desktop.x() + desktop.width())
        r.moveLeft(desktop.x() + desktop.width() - r.width());
    return r;
}
