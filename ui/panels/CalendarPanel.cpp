#include "ui/panels/CalendarPanel.h"

#include "core/base/Clock.h"
#include "core/files/DataLog.h"
#include "ui/AppState.h"
#include "ui/controls/ButtonFace.h"
#include "ui/controls/GridView.h"
#include "ui/controls/Twips.h"
#include "ui/controls/Widgets.h"
#include "ui/panels/PanelHost.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace puka::ui {
namespace {

/// The faces are this wide and high, all three in one place.
constexpr int kFaceTwips = 480;

QLabel* legendLabel(const char* name, Rgb colour, QWidget* parent) {
    QLabel* label = widgets::namedLabel(QString::fromUtf8(name), parent);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(scaledPixels(120, parent));
    label->setStyleSheet(QStringLiteral("background: %1; border: 1px solid #b8aec8; border-radius: 3px; "
                                        "color: #2e2a38; padding: 4px 10px;")
                             .arg(widgets::colourCss(colour)));
    return label;
}

QFrame* colourBar(Rgb colour, QWidget* parent) {
    auto* bar = new QFrame(parent);
    bar->setFixedHeight(scaledPixels(10, parent));
    bar->setMinimumWidth(scaledPixels(60, parent));
    bar->setStyleSheet(QStringLiteral("background: %1; border: 1px solid #b8aec8;").arg(widgets::colourCss(colour)));
    return bar;
}

QLabel* emphasised(QLabel* label, double growPt) {
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() + growPt);
    f.setBold(true);
    label->setFont(f);
    return label;
}

} // namespace

CalendarPanel::CalendarPanel(AppState& state, PanelHost& host, QWidget* parent)
    : Panel(state, host, "fraCale", parent) {
    QHBoxLayout* legendRow = buildLegendRow();
    buildGrid();
    QGridLayout* balance = buildBalance();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addLayout(legendRow);
    layout->addWidget(m_grid, 1, Qt::AlignLeft);
    layout->addLayout(balance);

    setTabChain({m_modeButtons[0], m_modeButtons[1], m_grid});

    connect(m_grid, &GridView::cellDoubleClicked, this, &CalendarPanel::onDoubleClick);
    setMode(calendar::Mode::Detailed);
}

QHBoxLayout* CalendarPanel::buildLegendRow() {
    // the legend across the top, in the order of the colours' meaning
    const std::array<Rgb, 5> legend = calendar::legendColours();
    m_downLabel = legendLabel("lblDn_c", legend[0], this);
    m_upLabel = legendLabel("lblUp_c", legend[1], this);
    m_sameLabel = legendLabel("lblSm_c", legend[2], this);
    m_onceLabel = legendLabel("lblOne_c", legend[3], this);
    m_unmeasuredLabel = legendLabel("lblNon_c", legend[4], this);

    for (int i = 0; i < 2; ++i) {
        QPushButton* b = widgets::pushButton(QStringLiteral("cmdSel1(%1)").arg(i),
                                             calendar::modeCaption(static_cast<calendar::Mode>(i)), this);
        b->setMinimumWidth(scaledPixels(96, this));
        connect(b, &QPushButton::clicked, this, [this, i] { onSelect(i); });
        m_modeButtons[static_cast<size_t>(i)] = b;
    }

    auto* legendRow = new QHBoxLayout;
    legendRow->setSpacing(6);
    for (QLabel* l : {m_downLabel, m_upLabel, m_sameLabel, m_onceLabel, m_unmeasuredLabel})
        legendRow->addWidget(l);
    legendRow->addStretch(1);
    legendRow->addWidget(m_modeButtons[0]);
    legendRow->addWidget(m_modeButtons[1]);
    return legendRow;
}

void CalendarPanel::buildGrid() {
    m_grid = widgets::grid(QStringLiteral("msgList2"), this);
    m_grid->setModel(calendar::emptyCalendarGrid());
    m_grid->setToolTip(QStringLiteral("日付をダブルクリックするとその日のメイン画面を表示します"));
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // all 31 days are seen at once: the grid is as wide as its columns, with room for the scroll bar
    m_grid->setFixedWidth(m_grid->horizontalHeader()->length() + 2 * m_grid->frameWidth() +
                          m_grid->verticalScrollBar()->sizeHint().width());
}

QGridLayout* CalendarPanel::buildBalance() {
    // the balance: good days against bad days, with the face at the lower left
    const int faceSize = twipsToPixels(kFaceTwips, this);
    m_laughingFace = widgets::facePicture(QStringLiteral("imgWara2"), faceSize, this);
    m_smilingFace = widgets::facePicture(QStringLiteral("imgNiko2"), faceSize, this);
    m_sulkyFace = widgets::facePicture(QStringLiteral("imgKana2"), faceSize, this);
    m_goodDaysLabel = emphasised(widgets::namedLabel(QStringLiteral("lblGenT"), this), 3);
    m_badDaysLabel = emphasised(widgets::namedLabel(QStringLiteral("lblZouT"), this), 3);
    m_balanceLabel = emphasised(widgets::namedLabel(QStringLiteral("lblHugou"), this), 6);
    m_balanceLabel->setAlignment(Qt::AlignCenter);
    m_balanceLabel->setMinimumWidth(scaledPixels(40, this));
    for (QLabel* total : {m_goodDaysLabel, m_badDaysLabel}) {
        total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        total->setMinimumWidth(scaledPixels(64, this));
    }

    auto* faceBox = new QWidget(this);
    auto* faceStack = new QGridLayout(faceBox);
    faceStack->setContentsMargins(0, 0, 0, 0);
    for (QLabel* face : {m_laughingFace, m_smilingFace, m_sulkyFace})
        faceStack->addWidget(face, 0, 0, Qt::AlignCenter);

    const std::array<Rgb, 4> bars = calendar::colourBars();
    auto* balance = new QGridLayout;
    balance->setHorizontalSpacing(10);
    balance->setVerticalSpacing(4);
    balance->addWidget(faceBox, 0, 0, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
    balance->setColumnMinimumWidth(1, 8);
    balance->addWidget(new QLabel(QStringLiteral("体重減 ／ 増減無し"), this), 0, 2);
    balance->addWidget(m_goodDaysLabel, 0, 3);
    balance->addWidget(m_balanceLabel, 0, 4);
    balance->addWidget(new QLabel(QStringLiteral("体重増 ／ １回だけ"), this), 0, 5);
    balance->addWidget(m_badDaysLabel, 0, 6);
    auto* goodBars = new QHBoxLayout;
    auto* badBars = new QHBoxLayout;
    for (auto* row : {goodBars, badBars})
        row->setSpacing(4);
    goodBars->addWidget(colourBar(bars[0], this));
    goodBars->addWidget(colourBar(bars[1], this));
    badBars->addWidget(colourBar(bars[2], this));
    badBars->addWidget(colourBar(bars[3], this));
    balance->addLayout(goodBars, 1, 2, 1, 2);
    balance->addLayout(badBars, 1, 5, 1, 2);
    balance->setColumnStretch(7, 1);
    return balance;
}

void CalendarPanel::open() {
    if (isVisible())
        return;
    m_host.hidePanels();
    setMode(calendar::Mode::Detailed);
    buildCalendar();
    showWithGuidance(calendar::guidanceText());
}

void CalendarPanel::setMode(calendar::Mode mode) {
    m_mode = mode;
    for (int i = 0; i < 2; ++i) {
        QPushButton* b = m_modeButtons[static_cast<size_t>(i)];
        const std::optional<Rgb> colour = calendar::modeButtonColour(mode, i);
        setButtonFace(b, colour ? std::optional<QColor>(QColor::fromRgb(*colour)) : std::nullopt);
    }
}

void CalendarPanel::buildCalendar() {
    // the colours of an unchanged log, mode and day are the ones made before
    const std::shared_ptr<const LogContents> reading = log();
    const QDate today = clock::today();
    if (!m_built || m_builtReading != reading || m_builtMode != m_mode || m_builtToday != today) {
        m_built = calendar::buildCalendar(reading->records, m_mode, today);
        m_builtReading = reading;
        m_builtMode = m_mode;
        m_builtToday = today;
    }
    paint(*m_built);
}

void CalendarPanel::refresh() {
    const std::shared_ptr<const LogContents> reading = log();
    m_built = calendar::buildCalendar(reading->records, m_mode, clock::today());
    m_builtReading = reading;
    m_builtMode = m_mode;
    m_builtToday = clock::today();
    paint(*m_built, true);
}

void CalendarPanel::paint(const calendar::CalendarView& view, bool keepPlace) {
    if (keepPlace)
        m_grid->updateModel(view.grid);
    else
        m_grid->setModel(view.grid);
    m_downLabel->setText(view.downText);
    m_upLabel->setText(view.upText);
    m_sameLabel->setText(view.sameText);
    m_onceLabel->setText(view.onceText);
    m_unmeasuredLabel->setText(view.unmeasuredText);
    m_goodDaysLabel->setText(view.goodDaysText);
    m_badDaysLabel->setText(view.badDaysText);
    m_balanceLabel->setText(view.balanceSign);
    for (QLabel* face : {m_laughingFace, m_smilingFace, m_sulkyFace})
        face->setVisible(face->objectName() == view.face);
}

void CalendarPanel::onSelect(int index) {
    m_host.hidePanels();
    setMode(static_cast<calendar::Mode>(index));
    buildCalendar();
    setVisible(true);
}

void CalendarPanel::onDoubleClick(int row, int column) {
    // the header, the month column and days a month does not have lead nowhere
    const std::optional<QDate> date = calendar::dateOfCell(m_grid->model(), row, column);
    if (!date)
        return;
    m_host.showMainPanelFor(*date);
}

} // namespace puka::ui
