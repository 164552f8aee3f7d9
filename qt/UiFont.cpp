// The Japanese user-interface font of the windows' layouts, mapped onto installed fonts.
#include "qt/UiFont.h"

#include <QFont>
#include <QStringList>

void installUiFontSubstitution()
{
    // Without it Qt falls back to a Latin font and the Japanese captions come out too wide.
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"),
                                QStringLiteral("Noto Sans CJK JP")});
}
