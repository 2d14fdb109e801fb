#include "RangePanel.h"

#include "AppState.h"
#include "Clock.h"
#include "DataLog.h"
#include "PanelHost.h"
#include "RangePrintout.h"
#include "RecordEditor.h"
#include "controls/ButtonFace.h"
#include "controls/ChartView.h"
#include "controls/ChoiceList.h"
#include "controls/Dialogs.h"
#include "controls/GridView.h"
#include "controls/PageSink.h"
#include "controls/PictureButton.h"
#include "controls/Printer.h"
#include "controls/Twips.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QToolButton>
#include <QVBoxLayout>

namespace puka::ui {
namespace {

const QString kPdfName = QStringLiteral("範囲指定.pdf");
/// The situation words the list shows without scrolling.
constexpr int kSituationRows = 6;

QPushButton* conditionButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    // a condition button is a choice, not a command: it keeps no focus frame after a click
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

/// Highlights @p button as the current choice of its group, or gives it back the normal colour.
void setHighlighted(QPushButton* button, bool on) {
    setButtonFace(button, on ? std::optional<QColor>(QColor::fromRgb(range::kHighlight)) : std::nullopt);
}

/// The own size of @p picture in twips: its device-independent pixels at its resolution.
QSize ownTwips(const QPixmap& picture) {
    const QSizeF size = picture.deviceIndependentSize();
    const double dpi = picture.logicalDpiX() > 0 ? picture.logicalDpiX() : 96.0;
    return QSize(static_cast<int>(size.width() * 1440 / dpi + 0.5), static_cast<int>(size.height() * 1440 / dpi + 0.5));
}

/// Draws the printout's steps onto @p page; the chart picture goes where its step says.
void replay(const std::vector<range::PrintOp>& ops, const QPixmap& chart, PageSink& page) {
    using Kind = range::PrintOp::Kind;
    for (const range::PrintOp& op : ops) {
        switch (op.kind) {
        case Kind::ChartPicture: {
            page.setX(op.x);
            page.setY(op.y);
            const QSize size = range::chartPictureSize(ownTwips(chart));
            page.drawPicture(chart, op.x, op.y, size.width(), size.height());
            break;
        }
        case Kind::SetX:
            page.setX(op.x);
            break;
        case Kind::SetY:
            page.setY(op.y);
            break;
        case Kind::Print:
            page.print(op.text);
            break;
        case Kind::PrintLine:
            page.printLine(op.text);
            break;
        case Kind::PrintZones:
            page.printZones(op.items);
            break;
        }
    }
}

} // namespace

RangePanel::RangePanel(AppState& state, PanelHost& host, QWidget* parent) : Panel(state, host, "fraTaijyu", parent) {
    msgBunseki = new GridView(this);
    msgBunseki->setObjectName(QStringLiteral("msgBunseki"));
    const GridModel empty = range::SET_TAIJYU_GRID();
    msgBunseki->setModel(empty);
    // the whole row in view: every column at its width, beside the vertical scroll bar
    int gridWidth = 2 * msgBunseki->frameWidth() + msgBunseki->verticalScrollBar()->sizeHint().width() + 4;
    for (const GridColumn& c : empty.columns)
        gridWidth += twipsToPixels(c.widthTwips, msgBunseki);
    msgBunseki->setMinimumWidth(gridWidth);
    m_state.editor->attach(msgBunseki, [this](int gridRow) -> std::optional<logedits::NumberedRecord> {
        if (gridRow < 1 || gridRow > static_cast<int>(m_recordNumbers.size()))
            return std::nullopt;
        const int number = m_recordNumbers[static_cast<size_t>(gridRow - 1)];
        return logedits::NumberedRecord{number, m_reading->records.at(static_cast<size_t>(number - 1))};
    });

    mcrBunseki = new ChartView(this);
    mcrBunseki->setObjectName(QStringLiteral("mcrBunseki"));
    mcrBunseki->setMinimumSize(scaledPixels(300, this), scaledPixels(220, this));
    mcrBunseki->setSeriesColour(0, QColor(0x3a, 0x6e, 0xd8));
    mcrBunseki->setSeriesColour(1, QColor(0xe0, 0x7a, 0x2e));

    optTai2 = new QRadioButton(QStringLiteral("体重"), this);
    optTai2->setObjectName(QStringLiteral("optTai2"));
    optShi2 = new QRadioButton(QStringLiteral("体脂肪率"), this);
    optShi2->setObjectName(QStringLiteral("optShi2"));
    optKon2 = new QRadioButton(QStringLiteral("混合"), this);
    optKon2->setObjectName(QStringLiteral("optKon2"));
    optTai2->setChecked(true);
    auto* options = new QButtonGroup(this);
    for (QRadioButton* o : {optTai2, optShi2, optKon2}) {
        options->addButton(o);
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                applyCheckedOption();
        });
    }

    cmdPriData = new PictureButton(this);
    cmdPriData->setObjectName(QStringLiteral("cmdPriData"));
    cmdPriData->setToolTip(QStringLiteral("表示中のデータで印刷"));
    cmdPriData->setIcon(QIcon(QStringLiteral(":/pictures/buttons/cmdPriData.svg")));
    cmdPriData->setIconSize(QSize(scaledPixels(32, this), scaledPixels(32, this)));
    connect(cmdPriData, &QToolButton::clicked, this, &RangePanel::onPrint);

    // the conditions across the top, the list and the chart under them
    auto* conditionsRow = new QHBoxLayout;
    // spare width goes to the situation list first, for long situation words
    conditionsRow->addWidget(buildSituationBox(), 3);
    conditionsRow->addWidget(buildWeekdayBox(), 2);
    conditionsRow->addWidget(buildPeriodBox(), 2);

    auto* chartHead = new QHBoxLayout;
    for (QRadioButton* o : {optTai2, optShi2, optKon2})
        chartHead->addWidget(o);
    chartHead->addStretch(1);
    chartHead->addWidget(cmdPriData);
    auto* chartColumn = new QVBoxLayout;
    chartColumn->addLayout(chartHead);
    chartColumn->addWidget(mcrBunseki, 1);

    auto* results = new QHBoxLayout;
    results->addWidget(msgBunseki);
    results->addLayout(chartColumn, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(conditionsRow);
    layout->addLayout(results, 1);

    // the three condition boxes from the left, then the list, the chart's choice and the printout
    setTabChain({lstAct2,     txtKey,      cmdKensaku,  cmdAllact,   cmdWeek[0],  cmdWeek[1],  cmdWeek[2],  cmdWeek[3],
                 cmdWeek[4],  cmdWeek[5],  cmdWeek[6],  cmdAllWeek,  cmdKikan[0], cmdKikan[7], cmdKikan[1], cmdKikan[2],
                 cmdKikan[3], cmdKikan[4], cmdKikan[5], cmdKikan[6], cmdAllDay,   cmdKikanF,   cboStdate,   cboEddate,
                 msgBunseki,  optTai2,     optShi2,     optKon2,     cmdPriData});
}

QWidget* RangePanel::buildSituationBox() {
    auto* box = new QGroupBox(QStringLiteral("状況指定"), this);
    lstAct2 = new ChoiceList(box);
    lstAct2->setObjectName(QStringLiteral("lstAct2"));
    lstAct2->setMinimumWidth(scaledPixels(130, this));
    lstAct2->setFixedHeight(scaledPixels(118, this));
    txtKey = new QLineEdit(box);
    txtKey->setObjectName(QStringLiteral("txtKey"));
    txtKey->setFixedWidth(scaledPixels(110, this));
    txtKey->installEventFilter(this);
    cmdKensaku = conditionButton(QStringLiteral("cmdKensaku"), QStringLiteral("検索"), box);
    cmdAllact = conditionButton(QStringLiteral("cmdAllact"), QStringLiteral("全部"), box);

    auto* keyColumn = new QVBoxLayout;
    keyColumn->addWidget(txtKey);
    keyColumn->addWidget(cmdKensaku);
    keyColumn->addStretch(1);
    keyColumn->addWidget(cmdAllact);
    auto* row = new QHBoxLayout(box);
    row->addWidget(lstAct2);
    row->addLayout(keyColumn);

    connect(lstAct2, &QListWidget::itemClicked, this, &RangePanel::onSituationClicked);
    connect(lstAct2, &ChoiceList::chosenByKeyboard, this, [this](QListWidgetItem* item) {
        onSituationClicked(item);
        // the rebuild hid the panel and took the focus with it: the next key moves on in the list
        lstAct2->setFocus(Qt::OtherFocusReason);
    });
    connect(txtKey, &QLineEdit::returnPressed, this, &RangePanel::onKeyEntered);
    connect(cmdKensaku, &QPushButton::clicked, this, &RangePanel::onSearch);
    connect(cmdAllact, &QPushButton::clicked, this, &RangePanel::onAllSituations);
    return box;
}

QWidget* RangePanel::buildWeekdayBox() {
    auto* box = new QGroupBox(QStringLiteral("曜日指定"), this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(3);
    for (int i = 0; i < 7; ++i) {
        cmdWeek[i] = conditionButton(QStringLiteral("cmdWeek(%1)").arg(i), range::weekdayName(i), box);
        cmdWeek[i]->setMinimumWidth(scaledPixels(28, this));
        grid->addWidget(cmdWeek[i], 0, i);
        connect(cmdWeek[i], &QPushButton::clicked, this, [this, i] { onWeekday(i); });
    }
    cmdAllWeek = conditionButton(QStringLiteral("cmdAllWeek"), QStringLiteral("全部"), box);
    // "全部" at the foot of the box, level with the other groups' last line
    grid->setRowStretch(1, 1);
    grid->addWidget(cmdAllWeek, 2, 0, 1, 7);
    connect(cmdAllWeek, &QPushButton::clicked, this, &RangePanel::onAllWeekdays);
    return box;
}

QWidget* RangePanel::buildPeriodBox() {
    using range::Period;
    auto* box = new QGroupBox(QStringLiteral("期間指定"), this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(3);
    for (int k = 1; k <= 8; ++k)
        cmdKikan[k - 1] =
            conditionButton(QStringLiteral("cmdKikan%1").arg(k), range::periodCaption(static_cast<Period>(k)), box);
    cmdAllDay = conditionButton(QStringLiteral("cmdAllDay"), range::periodCaption(Period::AllDay), box);
    cmdKikanF = conditionButton(QStringLiteral("cmdKikanF"), range::periodCaption(Period::KikanF), box);

    // shortest period first; "３日" is the eighth button but belongs after "前日"
    const std::pair<Period, QPushButton*> buttons[] = {
        {Period::Kikan1, cmdKikan[0]}, {Period::Kikan8, cmdKikan[7]}, {Period::Kikan2, cmdKikan[1]},
        {Period::Kikan3, cmdKikan[2]}, {Period::Kikan4, cmdKikan[3]}, {Period::Kikan5, cmdKikan[4]},
        {Period::Kikan6, cmdKikan[5]}, {Period::Kikan7, cmdKikan[6]}, {Period::AllDay, cmdAllDay},
        {Period::KikanF, cmdKikanF},
    };
    int place = 0;
    for (const auto& [period, button] : buttons) {
        button->setMinimumWidth(scaledPixels(56, this));
        grid->addWidget(button, place / 5, place % 5);
        ++place;
        const Period p = period;
        QPushButton* b = button;
        connect(button, &QPushButton::clicked, this, [this, p, b] { onPeriod(p, b); });
    }

    cboStdate = new QComboBox(box);
    cboStdate->setObjectName(QStringLiteral("cboStdate"));
    cboEddate = new QComboBox(box);
    cboEddate->setObjectName(QStringLiteral("cboEddate"));
    m_dates = new QStringListModel(this);
    for (QComboBox* c : {cboStdate, cboEddate}) {
        c->setModel(m_dates);
        c->setEditable(true);
        // the date lists hold the log's dates only: a typed bound is not added to them
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMaxVisibleItems(16);
        c->setMinimumWidth(scaledPixels(110, this));
    }
    auto* dates = new QHBoxLayout;
    dates->addWidget(cboStdate, 1);
    dates->addWidget(new QLabel(QStringLiteral("～"), box));
    dates->addWidget(cboEddate, 1);
    grid->addLayout(dates, 2, 0, 1, 5);
    return box;
}

void RangePanel::setSituations(const QStringList& words) {
    lstAct2->clear();
    lstAct2->addItems(words);
    // whole rows only, so that no word shows cut in half at the foot of the list
    if (lstAct2->count() > 0)
        lstAct2->setFixedHeight(kSituationRows * lstAct2->sizeHintForRow(0) + 2 * lstAct2->frameWidth());
}

void RangePanel::appendSituation(const QString& word) {
    lstAct2->addItem(word);
}

bool RangePanel::eventFilter(QObject* watched, QEvent* event) {
    // the keyword box empties when the user goes into it, ready for a new word; coming back
    // from another window or a popup menu is no such move
    if (watched == txtKey && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            txtKey->clear();
    }
    return Panel::eventFilter(watched, event);
}

void RangePanel::open() {
    if (isVisible())
        return;
    m_host.HIDE_PANELS();
    // DSP_TAIJYU; the chart shows "体重" once opened, so the option is chosen before painting
    m_reading = log();
    const range::RangeView& view = openingBuild(m_reading);
    {
        const QSignalBlocker block(optTai2);
        optTai2->setChecked(true);
    }
    // a log holds thousands of dates: both lists take them in one reset of their shared model
    if (m_datesFrom != m_openingReading) {
        m_dates->setStringList(view.dates);
        m_datesFrom = m_openingReading;
    }
    for (QComboBox* c : {cboStdate, cboEddate})
        c->setCurrentIndex(view.dates.isEmpty() ? -1 : 0);
    cboStdate->setEditText(view.startText);
    cboEddate->setEditText(view.endText);
    m_openingStart = view.startText;
    m_openingEnd = view.endText;
    m_shown = Shown::Opening;
    paint(view);

    txtKey->clear();
    RESET_KIKAN_COLOR();
    for (QPushButton* b : cmdWeek)
        setHighlighted(b, false);
    for (QPushButton* b : {cmdAllDay, cmdAllact, cmdAllWeek})
        setHighlighted(b, true);
    m_selectedWeekday = range::kAllWeekdays;
    showWithGuidance(range::guidanceText());
}

range::Conditions RangePanel::conditions() const {
    range::Conditions c;
    c.keyword = txtKey->text();
    c.selectedWeekday = m_selectedWeekday;
    c.startText = cboStdate->currentText();
    c.endText = cboEddate->currentText();
    return c;
}

range::ChartOption RangePanel::checkedOption() const {
    if (optShi2->isChecked())
        return range::ChartOption::optShi2;
    if (optKon2->isChecked())
        return range::ChartOption::optKon2;
    return range::ChartOption::optTai2;
}

void RangePanel::paint(range::RangeView view, bool keepPlace) {
    // a build leaves the chart option alone: the checked one holds for the new data too
    range::applyChartOption(view.chart, checkedOption());
    m_recordNumbers = std::move(view.recordNumbers);
    if (keepPlace)
        msgBunseki->updateModel(std::move(view.grid));
    else
        msgBunseki->setModel(std::move(view.grid));
    mcrBunseki->setChart(view.chart);
}

const range::RangeView& RangePanel::openingBuild(const std::shared_ptr<const LogContents>& reading) {
    const float height = m_state.profile.height;
    if (!m_opening || m_openingReading != reading || m_openingHeight != height) {
        m_opening = range::DSP_TAIJYU(SharedRecords(reading, &reading->records), height);
        m_openingReading = reading;
        m_openingHeight = height;
    }
    return *m_opening;
}

void RangePanel::setDates(const QStringList& dates) {
    const QString start = cboStdate->currentText();
    const QString end = cboEddate->currentText();
    m_dates->setStringList(dates);
    m_datesFrom = m_openingReading;
    cboStdate->setEditText(start);
    cboEddate->setEditText(end);
}

void RangePanel::refresh() {
    const std::shared_ptr<const LogContents> reading = log();
    m_reading = reading;
    const SharedRecords records(reading, &reading->records);
    const float height = m_state.profile.height;
    const range::RangeView& opening = openingBuild(reading);
    // bounds the opening build set, and the user has not changed, follow the log
    if (cboStdate->currentText() == m_openingStart)
        cboStdate->setEditText(opening.startText);
    if (cboEddate->currentText() == m_openingEnd)
        cboEddate->setEditText(opening.endText);
    m_openingStart = opening.startText;
    m_openingEnd = opening.endText;
    setDates(opening.dates);
    switch (m_shown) {
    case Shown::Opening:
        paint(opening, true);
        break;
    case Shown::Conditions:
        paint(range::refresh(records, height, conditions()), true);
        break;
    case Shown::Search:
        paint(range::build(range::Builder::DSP_TAIJYU_KEY, records, height, conditions()), true);
        break;
    }
}

void RangePanel::applyCheckedOption() {
    ChartModel chart = mcrBunseki->chartModel();
    range::applyChartOption(chart, checkedOption());
    mcrBunseki->setChart(chart);
}

void RangePanel::REFRESH_TAIJYU() {
    const std::shared_ptr<const LogContents> reading = log();
    m_shown = Shown::Conditions;
    m_reading = reading;
    paint(range::refresh(SharedRecords(reading, &reading->records), m_state.profile.height, conditions()));
}

void RangePanel::RESET_KIKAN_COLOR() {
    for (QPushButton* b : cmdKikan)
        setHighlighted(b, false);
    setHighlighted(cmdAllDay, false);
    setHighlighted(cmdKikanF, false);
}

void RangePanel::onPeriod(range::Period period, QPushButton* button) {
    m_host.HIDE_PANELS();
    RESET_KIKAN_COLOR();
    if (const auto bounds = range::periodBounds(period, clock::today(), m_state.main.startDate)) {
        cboStdate->setEditText(bounds->start);
        cboEddate->setEditText(bounds->end);
    }
    REFRESH_TAIJYU();
    setVisible(true);
    setHighlighted(button, true);
}

void RangePanel::onWeekday(int weekday) {
    setHighlighted(cmdAllWeek, false);
    for (QPushButton* b : cmdWeek)
        setHighlighted(b, false);
    m_selectedWeekday = weekday;
    m_host.HIDE_PANELS();
    REFRESH_TAIJYU();
    setVisible(true);
    setHighlighted(cmdWeek[static_cast<size_t>(weekday)], true);
}

void RangePanel::onAllWeekdays() {
    m_host.HIDE_PANELS();
    for (QPushButton* b : cmdWeek)
        setHighlighted(b, false);
    m_selectedWeekday = range::kAllWeekdays;
    REFRESH_TAIJYU();
    setVisible(true);
    setHighlighted(cmdAllWeek, true);
}

void RangePanel::onSituationClicked(QListWidgetItem* item) {
    if (!item)
        return;
    txtKey->setText(item->text());
    m_host.HIDE_PANELS();
    setHighlighted(cmdAllact, false);
    REFRESH_TAIJYU();
    setVisible(true);
}

void RangePanel::onAllSituations() {
    m_host.HIDE_PANELS();
    txtKey->clear();
    REFRESH_TAIJYU();
    setVisible(true);
    setHighlighted(cmdAllact, true);
}

void RangePanel::onKeyEntered() {
    m_host.HIDE_PANELS();
    setHighlighted(cmdAllact, false);
    REFRESH_TAIJYU();
    setVisible(true);
}

void RangePanel::onSearch() {
    // 検索 looks for the word within the period only, whatever weekday is chosen
    const std::shared_ptr<const LogContents> reading = log();
    m_shown = Shown::Search;
    m_reading = reading;
    paint(range::build(range::Builder::DSP_TAIJYU_KEY, SharedRecords(reading, &reading->records),
                       m_state.profile.height, conditions()));
}

void RangePanel::onPrint() {
    Dialogs& dialogs = *m_state.dialogs;
    const auto answer =
        dialogs.message(range::printPrompt(), range::printTitle(), Dialogs::Icon::Question, Dialogs::Buttons::OkCancel);
    if (answer != Dialogs::Answer::Ok)
        return;
    // the picture is printed as grabbed: read back from the clipboard it would lose the
    // screen's pixel ratio and come out at twice its size on a high-density screen
    const QPixmap chart = mcrBunseki->copyToClipboard();
    const std::vector<range::PrintOp> ops = range::printout(msgBunseki->model());
    m_state.printer->print(this, kPdfName, [&](PageSink& page) { replay(ops, chart, page); });
}

} // namespace puka::ui
