#include "app/ui/UiFont.h"

#include <QApplication>
#include <QFont>

void installUiFont()
{
    const QString meiryo = QStringLiteral("Meiryo UI");
    QFont::insertSubstitutions(meiryo,
                               {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),
                                QStringLiteral("IPAGothic"), QStringLiteral("VL PGothic"),
                                QStringLiteral("TakaoPGothic"), QStringLiteral("Droid Sans Fallback")});
    QFont font(meiryo, 9);
    QApplication::setFont(font);
}
