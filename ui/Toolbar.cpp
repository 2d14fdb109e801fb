#include "ui/Toolbar.h"

#include "ui/controls/PictureButton.h"
#include "ui/controls/Twips.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QToolButton>

namespace puka::ui {
namespace {

struct ButtonSpec {
    const char* name;
    const char* caption;
    const char* tooltip;
    const char* shortcut; ///< empty for a button without a key of its own
};

// Left to right, as the user finds them; the panel buttons answer Alt and their place.
const ButtonSpec kButtons[] = {
    {"cmdMain", "メイン", "メイン画面を表示します", "Alt+1"},
    {"cmdRentai", "全グラフ", "現在までの体重グラフを表示します", "Alt+2"},
    {"cmdAvgtai", "日平均", "日毎の平均値を表示します", "Alt+3"},
    {"cmdTaijyu", "範囲指定", "表示条件を指定できます", "Alt+4"},
    {"cmdBunseki", "分析リスト", "体重分析画面を表示します", "Alt+5"},
    {"cmdCale", "カレンダー", "体重増減把握カレンダーを表示します", "Alt+6"},
    {"cmdMemo", "一言日記", "ちょっとした日記を表示します", "Alt+7"},
    {"cmdSettei", "編集", "編集画面を表示します", "Alt+8"},
    {"cmdHelp", "ヘルプ", "ヘルプファイルを開きます", ""},
    {"cmdOwari", "終了", "プログラムを終了します", ""},
};

constexpr int kButtonHeightTwips = 840;

} // namespace

Toolbar::Toolbar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("toolbar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(2);
    for (const ButtonSpec& b : kButtons) {
        QString tooltip = QString::fromUtf8(b.tooltip);
        QToolButton* button = addButton(QString::fromUtf8(b.name), QString::fromUtf8(b.caption), tooltip);
        const QKeySequence key(QString::fromLatin1(b.shortcut));
        if (!key.isEmpty()) {
            button->setShortcut(key);
            button->setToolTip(QStringLiteral("%1 (%2)").arg(tooltip, key.toString(QKeySequence::NativeText)));
            m_panelButtons.append(button);
        }
        layout->addWidget(button);
        if (qstrcmp(b.name, "cmdSettei") == 0)
            layout->addSpacing(12);
    }
    layout->addStretch(1);
    QToolButton* help =
        addButton(QStringLiteral("chkHelp"), QString(), QStringLiteral("ヘルプツアーのＯｎ／Ｏｆｆです"));
    help->setCheckable(true);
    help->setToolButtonStyle(Qt::ToolButtonIconOnly);
    help->setAccessibleName(QStringLiteral("ヘルプツアー"));
    layout->addWidget(help);
}

QToolButton* Toolbar::addButton(const QString& name, const QString& caption, const QString& tooltip) {
    auto* button = new PictureButton(this);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(tooltip);
    button->setIcon(QIcon(QStringLiteral(":/pictures/toolbar/%1.svg").arg(name)));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::StrongFocus);
    const int height = twipsToPixels(kButtonHeightTwips, this);
    button->setIconSize(QSize(height / 2, height / 2));
    button->setFixedHeight(height);
    button->setMinimumWidth(height * 5 / 4);
    return button;
}

QToolButton* Toolbar::button(const QString& objectName) const {
    return findChild<QToolButton*>(objectName, Qt::FindDirectChildrenOnly);
}

} // namespace puka::ui
