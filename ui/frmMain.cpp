#include "frmMain.h"

#include "Settings.h"
#include "Toolbar.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

// The pictures are compiled into this static library and must be registered by hand.
static void initPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace puka::ui {

frmMain::frmMain(const QString& workDir, QWidget* parent) : QMainWindow(parent), m_workDir(workDir) {
    initPictures();
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/app/pukapuka.svg")));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolbar = new Toolbar(central);
    layout->addWidget(m_toolbar);
    auto* rule = new QFrame(central);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);

    // All panels share one place; exactly one of them is visible.
    auto* stack = new QWidget(central);
    auto* grid = new QGridLayout(stack);
    grid->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(stack, 1);
    setCentralWidget(central);

    fraMain = makePanel("fraMain", QStringLiteral("メイン"));
    fraTaijyu = makePanel("fraTaijyu", QStringLiteral("範囲指定"));
    fraBunseki = makePanel("fraBunseki", QStringLiteral("分析リスト"));
    fraRenTai = makePanel("fraRenTai", QStringLiteral("全グラフ"));
    fraAvgTai = makePanel("fraAvgTai", QStringLiteral("日平均"));
    fraCale = makePanel("fraCale", QStringLiteral("カレンダー"));
    fraMemo = makePanel("fraMemo", QStringLiteral("一言日記"));
    fraSettei = makePanel("fraSettei", QStringLiteral("編集"));
    for (QFrame* panel : {fraMain, fraTaijyu, fraBunseki, fraRenTai, fraAvgTai, fraCale, fraMemo, fraSettei}) {
        panel->setParent(stack);
        grid->addWidget(panel, 0, 0);
    }

    const std::pair<const char*, QFrame*> switches[] = {
        {"cmdMain", fraMain},       {"cmdRentai", fraRenTai}, {"cmdAvgtai", fraAvgTai}, {"cmdTaijyu", fraTaijyu},
        {"cmdBunseki", fraBunseki}, {"cmdCale", fraCale},     {"cmdMemo", fraMemo},     {"cmdSettei", fraSettei},
    };
    for (const auto& [name, panel] : switches) {
        QFrame* target = panel;
        connect(m_toolbar->button(QString::fromUtf8(name)), &QToolButton::clicked, this,
                [this, target] { showPanel(target); });
    }
    connect(m_toolbar->button(QStringLiteral("cmdOwari")), &QToolButton::clicked, this, &QWidget::close);

    const auto profile = settings::READ_PRIVATE(m_workDir);
    setWindowTitle(settings::SET_TITLE(profile.value.userName));
    HIDE_PANELS();
    fraMain->setVisible(true);
    resize(1024, 768);
}

QFrame* frmMain::makePanel(const char* name, const QString& title) {
    auto* panel = new QFrame(this);
    panel->setObjectName(QString::fromUtf8(name));
    panel->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(panel);
    auto* caption = new QLabel(title, panel);
    caption->setAlignment(Qt::AlignCenter);
    QFont f = caption->font();
    f.setPointSize(f.pointSize() + 6);
    caption->setFont(f);
    layout->addWidget(caption);
    return panel;
}

void frmMain::HIDE_PANELS() {
    for (QFrame* panel : {fraTaijyu, fraBunseki, fraRenTai, fraMain, fraSettei, fraCale, fraMemo, fraAvgTai})
        panel->setVisible(false);
}

void frmMain::showPanel(QFrame* panel) {
    // a panel's button does nothing while its panel is visible
    if (panel->isVisible())
        return;
    HIDE_PANELS();
    panel->setVisible(true);
}

} // namespace puka::ui
