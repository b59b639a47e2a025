#include "base/AppInfo.h"

#include "TallowinVersion.h"

#include <QSysInfo>

namespace AppInfo {

QString versionLine()
{
    return QStringLiteral("バージョン: %1.%2.%3.%4")
        .arg(TALLOWIN_VERSION_MAJOR)
        .arg(TALLOWIN_VERSION_MINOR)
        .arg(TALLOWIN_VERSION_PATCH)
        .arg(TALLOWIN_VERSION_TWEAK);
}

QString operatingSystemLine()
{
    return QStringLiteral("%1 (%2 %3, %4)")
        .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
             QSysInfo::currentCpuArchitecture());
}

QString aboutNote()
{
    return QStringLiteral("本プログラムはE-Mailメーラー,\nOutlook365,GPG4Winなど\nWindows環境に依存します。");
}

} // namespace AppInfo
