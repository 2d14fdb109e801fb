#include "ui/controls/UiFont.h"

#include <QApplication>
#include <QStringList>

namespace puka::ui {

QFont uiFont(double pointSize) {
    QFont font = QApplication::font();
    // the first installed face wins; the application's own face stays as the last resort
    QStringList families = {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"),
                            QStringLiteral("IPAexGothic"),      QStringLiteral("Yu Gothic UI"),
                            QStringLiteral("Meiryo UI"),        QStringLiteral("Hiragino Sans")};
    families.append(font.families());
    if (!families.contains(font.family()))
        families.append(font.family());
    font.setFamilies(families);
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    return font;
}

} // namespace puka::ui
