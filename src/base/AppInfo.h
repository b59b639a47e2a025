#pragma once

#include <QString>

namespace AppInfo {

// The application title and the main window's initial caption.
inline const QString Title = QStringLiteral("Tallowin 管理");
inline const QString ProductName = QStringLiteral("Tallowin 管理");

// "バージョン: major.minor.release.build" from the build's version.
QString versionLine();
// The operating system with its kernel build.
QString operatingSystemLine();
// The fixed note of the About window, three lines.
QString aboutNote();

} // namespace AppInfo
