#include "ui/panels/RangePanel.h"

#include "core/base/Clock.h"
#include "core/base/Messages.h"
#include "core/files/DataLog.h"
#include "core/views/RangePrintout.h"
#include "ui/AppState.h"
#include "ui/RecordEditor.h"
#include "ui/controls/ButtonFace.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/ChoiceList.h"
#include "ui/controls/Dialogs.h"
#include "ui/controls/GridView.h"
#include "ui/controls/PageSink.h"
#include "ui/controls/Printer.h"
#include "ui/controls/Twips.h"
#include "ui/controls/Widgets.h"
#include "ui/panels/PanelHost.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
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
    QPushButton* b = widgets::pushButton(name, caption, parent);
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
void replay(const std::vector<range::PrintOperation>& operations, const QPixmap& chart, PageSink& page) {
    using Kind = range::PrintOperation::Kind;
    for (const range::PrintOperation& op : operations) {
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
    buildList();
    QVBoxLayout* chartColumn = buildChartColumn();

    // the conditions across the top, the list and the chart under them
    auto* conditionsRow = new QHBoxLayout;
    // spare width goes to the situation list first, for long situation words
    conditionsRow->addWidget(buildSituationBox(), 3);
    conditionsRow->addWidget(buildWeekdayBox(), 2);
    conditionsRow->addWidget(buildPeriodBox(), 2);

    auto* results = new QHBoxLayout;
    results->addWidget(m_list);
    results->addLayout(chartColumn, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(conditionsRow);
    layout->addLayout(results, 1);

    // the three condition boxes from the left, then the list, the chart's choice and the printout
    setTabChain(
        {m_situationList,     m_keywordField,      m_searchButton,      m_allSituationsButton, m_weekdayButtons[0],
         m_weekdayButtons[1], m_weekdayButtons[2], m_weekdayButtons[3], m_weekdayButtons[4],   m_weekdayButtons[5],
         m_weekdayButtons[6], m_allWeekdaysButton, m_periodButtons[0],  m_periodButtons[7],    m_periodButtons[1],
         m_periodButtons[2],  m_periodButtons[3],  m_periodButtons[4],  m_periodButtons[5],    m_periodButtons[6],
         m_allPeriodButton,   m_freePeriodButton,  m_startDateBox,      m_endDateBox,          m_list,
         m_weightOption,      m_bodyFatOption,     m_mixedOption,       m_printButton});
}

void RangePanel::buildList() {
    m_list = widgets::grid(QStringLiteral("msgBunseki"), this);
    const GridModel empty = range::emptyRangeList();
    m_list->setModel(empty);
    // the whole row in view: every column at its width, beside the vertical scroll bar
    int gridWidth = 2 * m_list->frameWidth() + m_list->verticalScrollBar()->sizeHint().width() + 4;
    for (const GridColumn& c : empty.columns)
        gridWidth += twipsToPixels(c.widthTwips, m_list);
    m_list->setMinimumWidth(gridWidth);
    m_state.editor->attach(m_list, [this](int gridRow) -> std::optional<logedits::NumberedRecord> {
        if (gridRow < 1 || gridRow > static_cast<int>(m_recordNumbers.size()))
            return std::nullopt;
        const int number = m_recordNumbers[static_cast<size_t>(gridRow - 1)];
        return logedits::NumberedRecord{number, m_reading->records.at(static_cast<size_t>(number - 1))};
    });
}

QVBoxLayout* RangePanel::buildChartColumn() {
    m_chart = new ChartView(this);
    m_chart->setObjectName(QStringLiteral("mcrBunseki"));
    m_chart->setMinimumSize(scaledPixels(300, this), scaledPixels(220, this));
    m_chart->setSeriesColour(0, QColor(0x3a, 0x6e, 0xd8));
    m_chart->setSeriesColour(1, QColor(0xe0, 0x7a, 0x2e));

    m_weightOption = widgets::radioButton(QStringLiteral("optTai2"), QStringLiteral("体重"), this);
    m_bodyFatOption = widgets::radioButton(QStringLiteral("optShi2"), QStringLiteral("体脂肪率"), this);
    m_mixedOption = widgets::radioButton(QStringLiteral("optKon2"), QStringLiteral("混合"), this);
    m_weightOption->setChecked(true);
    auto* options = new QButtonGroup(this);
    for (QRadioButton* o : {m_weightOption, m_bodyFatOption, m_mixedOption}) {
        options->addButton(o);
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                applyCheckedOption();
        });
    }

    m_printButton = widgets::pictureButton(QStringLiteral("cmdPriData"), 32, this);
    m_printButton->setToolTip(QStringLiteral("表示中のデータで印刷"));
    connect(m_printButton, &QToolButton::clicked, this, &RangePanel::onPrint);

    auto* chartHead = new QHBoxLayout;
    for (QRadioButton* o : {m_weightOption, m_bodyFatOption, m_mixedOption})
        chartHead->addWidget(o);
    chartHead->addStretch(1);
    chartHead->addWidget(m_printButton);
    auto* chartColumn = new QVBoxLayout;
    chartColumn->addLayout(chartHead);
    chartColumn->addWidget(m_chart, 1);
    return chartColumn;
}

QWidget* RangePanel::buildSituationBox() {
    auto* box = new QGroupBox(QStringLiteral("状況指定"), this);
    m_situationList = new ChoiceList(box);
    m_situationList->setObjectName(QStringLiteral("lstAct2"));
    m_situationList->setMinimumWidth(scaledPixels(130, this));
    m_situationList->setFixedHeight(scaledPixels(118, this));
    m_keywordField = widgets::lineEdit(QStringLiteral("txtKey"), box);
    m_keywordField->setFixedWidth(scaledPixels(110, this));
    m_keywordField->installEventFilter(this);
    m_searchButton = conditionButton(QStringLiteral("cmdKensaku"), QStringLiteral("検索"), box);
    m_allSituationsButton = conditionButton(QStringLiteral("cmdAllact"), QStringLiteral("全部"), box);

    auto* keyColumn = new QVBoxLayout;
    keyColumn->addWidget(m_keywordField);
    keyColumn->addWidget(m_searchButton);
    keyColumn->addStretch(1);
    keyColumn->addWidget(m_allSituationsButton);
    auto* row = new QHBoxLayout(box);
    row->addWidget(m_situationList);
    row->addLayout(keyColumn);

    connect(m_situationList, &QListWidget::itemClicked, this, &RangePanel::onSituationClicked);
    connect(m_situationList, &ChoiceList::chosenByKeyboard, this, [this](QListWidgetItem* item) {
        onSituationClicked(item);
        // the rebuild hid the panel and took the focus with it: the next key moves on in the list
        m_situationList->setFocus(Qt::OtherFocusReason);
    });
    connect(m_keywordField, &QLineEdit::returnPressed, this, &RangePanel::onKeyEntered);
    connect(m_searchButton, &QPushButton::clicked, this, &RangePanel::onSearch);
    connect(m_allSituationsButton, &QPushButton::clicked, this, &RangePanel::onAllSituations);
    return box;
}

QWidget* RangePanel::buildWeekdayBox() {
    auto* box = new QGroupBox(QStringLiteral("曜日指定"), this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(3);
    for (int i = 0; i < 7; ++i) {
        m_weekdayButtons[i] = conditionButton(QStringLiteral("cmdWeek(%1)").arg(i), range::weekdayName(i), box);
        m_weekdayButtons[i]->setMinimumWidth(scaledPixels(28, this));
        grid->addWidget(m_weekdayButtons[i], 0, i);
        connect(m_weekdayButtons[i], &QPushButton::clicked, this, [this, i] { onWeekday(i); });
    }
    m_allWeekdaysButton = conditionButton(QStringLiteral("cmdAllWeek"), QStringLiteral("全部"), box);
    // "全部" at the foot of the box, level with the other groups' last line
    grid->setRowStretch(1, 1);
    grid->addWidget(m_allWeekdaysButton, 2, 0, 1, 7);
    connect(m_allWeekdaysButton, &QPushButton::clicked, this, &RangePanel::onAllWeekdays);
    return box;
}

QWidget* RangePanel::buildPeriodBox() {
    using range::Period;
    auto* box = new QGroupBox(QStringLiteral("期間指定"), this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(3);
    for (int k = 1; k <= 8; ++k)
        m_periodButtons[k - 1] =
            conditionButton(QStringLiteral("cmdKikan%1").arg(k), range::periodCaption(static_cast<Period>(k)), box);
    m_allPeriodButton = conditionButton(QStringLiteral("cmdAllDay"), range::periodCaption(Period::All), box);
    m_freePeriodButton = conditionButton(QStringLiteral("cmdKikanF"), range::periodCaption(Period::Free), box);

    // shortest period first; "３日" is the eighth button but belongs after "前日"
    const std::pair<Period, QPushButton*> buttons[] = {
        {Period::PreviousDay, m_periodButtons[0]}, {Period::ThreeDays, m_periodButtons[7]},
        {Period::OneWeek, m_periodButtons[1]},     {Period::TwoWeeks, m_periodButtons[2]},
        {Period::OneMonth, m_periodButtons[3]},    {Period::ThreeMonths, m_periodButtons[4]},
        {Period::HalfYear, m_periodButtons[5]},    {Period::OneYear, m_periodButtons[6]},
        {Period::All, m_allPeriodButton},          {Period::Free, m_freePeriodButton},
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

    m_startDateBox = new QComboBox(box);
    m_startDateBox->setObjectName(QStringLiteral("cboStdate"));
    m_endDateBox = new QComboBox(box);
    m_endDateBox->setObjectName(QStringLiteral("cboEddate"));
    m_dates = new QStringListModel(this);
    for (QComboBox* c : {m_startDateBox, m_endDateBox}) {
        c->setModel(m_dates);
        c->setEditable(true);
        // the date lists hold the log's dates only: a typed bound is not added to them
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMaxVisibleItems(16);
        c->setMinimumWidth(scaledPixels(110, this));
    }
    auto* dates = new QHBoxLayout;
    dates->addWidget(m_startDateBox, 1);
    dates->addWidget(new QLabel(QStringLiteral("～"), box));
    dates->addWidget(m_endDateBox, 1);
    grid->addLayout(dates, 2, 0, 1, 5);
    return box;
}

void RangePanel::setSituations(const QStringList& words) {
    m_situationList->clear();
    m_situationList->addItems(words);
    // whole rows only, so that no word shows cut in half at the foot of the list
    if (m_situationList->count() > 0)
        m_situationList->setFixedHeight(kSituationRows * m_situationList->sizeHintForRow(0) +
                                        2 * m_situationList->frameWidth());
}

void RangePanel::appendSituation(const QString& word) {
    m_situationList->addItem(word);
}

bool RangePanel::eventFilter(QObject* watched, QEvent* event) {
    // the keyword box empties when the user goes into it, ready for a new word; coming back
    // from another window or a popup menu is no such move
    if (watched == m_keywordField && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_keywordField->clear();
    }
    return Panel::eventFilter(watched, event);
}

void RangePanel::open() {
    if (isVisible())
        return;
    m_host.hidePanels();
    // buildOpening; the chart shows "体重" once opened, so the option is chosen before painting
    m_reading = log();
    const range::RangeView& view = openingBuild(m_reading);
    {
        const QSignalBlocker block(m_weightOption);
        m_weightOption->setChecked(true);
    }
    // a log holds thousands of dates: both lists take them in one reset of their shared model
    if (m_datesFrom != m_openingReading) {
        m_dates->setStringList(view.dates);
        m_datesFrom = m_openingReading;
    }
    for (QComboBox* c : {m_startDateBox, m_endDateBox})
        c->setCurrentIndex(view.dates.isEmpty() ? -1 : 0);
    m_startDateBox->setEditText(view.startText);
    m_endDateBox->setEditText(view.endText);
    m_openingStart = view.startText;
    m_openingEnd = view.endText;
    m_shown = Shown::Opening;
    paint(view);

    m_keywordField->clear();
    resetPeriodColours();
    for (QPushButton* b : m_weekdayButtons)
        setHighlighted(b, false);
    for (QPushButton* b : {m_allPeriodButton, m_allSituationsButton, m_allWeekdaysButton})
        setHighlighted(b, true);
    m_selectedWeekday = range::kAllWeekdays;
    showWithGuidance(range::guidanceText());
}

range::Conditions RangePanel::conditions() const {
    range::Conditions c;
    c.keyword = m_keywordField->text();
    c.selectedWeekday = m_selectedWeekday;
    c.startText = m_startDateBox->currentText();
    c.endText = m_endDateBox->currentText();
    return c;
}

range::ChartOption RangePanel::checkedOption() const {
    if (m_bodyFatOption->isChecked())
        return range::ChartOption::BodyFat;
    if (m_mixedOption->isChecked())
        return range::ChartOption::Mixed;
    return range::ChartOption::Weight;
}

void RangePanel::paint(range::RangeView view, bool keepPlace) {
    // a build leaves the chart option alone: the checked one holds for the new data too
    range::applyChartOption(view.chart, checkedOption());
    m_recordNumbers = std::move(view.recordNumbers);
    if (keepPlace)
        m_list->updateModel(std::move(view.grid));
    else
        m_list->setModel(std::move(view.grid));
    m_chart->setChart(view.chart);
}

const range::RangeView& RangePanel::openingBuild(const std::shared_ptr<const LogContents>& reading) {
    const float height = m_state.profile.height;
    if (!m_opening || m_openingReading != reading || m_openingHeight != height) {
        m_opening = range::buildOpening(SharedRecords(reading, &reading->records), height);
        m_openingReading = reading;
        m_openingHeight = height;
    }
    return *m_opening;
}

void RangePanel::setDates(const QStringList& dates) {
    const QString start = m_startDateBox->currentText();
    const QString end = m_endDateBox->currentText();
    m_dates->setStringList(dates);
    m_datesFrom = m_openingReading;
    m_startDateBox->setEditText(start);
    m_endDateBox->setEditText(end);
}

void RangePanel::refresh() {
    const std::shared_ptr<const LogContents> reading = log();
    m_reading = reading;
    const SharedRecords records(reading, &reading->records);
    const float height = m_state.profile.height;
    const range::RangeView& opening = openingBuild(reading);
    // bounds the opening build set, and the user has not changed, follow the log
    if (m_startDateBox->currentText() == m_openingStart)
        m_startDateBox->setEditText(opening.startText);
    if (m_endDateBox->currentText() == m_openingEnd)
        m_endDateBox->setEditText(opening.endText);
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
        paint(range::build(range::Builder::Keyword, records, height, conditions()), true);
        break;
    }
}

void RangePanel::applyCheckedOption() {
    ChartModel chart = m_chart->chartModel();
    range::applyChartOption(chart, checkedOption());
    m_chart->setChart(chart);
}

void RangePanel::refreshList() {
    const std::shared_ptr<const LogContents> reading = log();
    m_shown = Shown::Conditions;
    m_reading = reading;
    paint(range::refresh(SharedRecords(reading, &reading->records), m_state.profile.height, conditions()));
}

void RangePanel::resetPeriodColours() {
    for (QPushButton* b : m_periodButtons)
        setHighlighted(b, false);
    setHighlighted(m_allPeriodButton, false);
    setHighlighted(m_freePeriodButton, false);
}

void RangePanel::onPeriod(range::Period period, QPushButton* button) {
    m_host.hidePanels();
    resetPeriodColours();
    if (const auto bounds = range::periodBounds(period, clock::today(), m_state.main.startDate)) {
        m_startDateBox->setEditText(bounds->start);
        m_endDateBox->setEditText(bounds->end);
    }
    refreshList();
    setVisible(true);
    setHighlighted(button, true);
}

void RangePanel::onWeekday(int weekday) {
    setHighlighted(m_allWeekdaysButton, false);
    for (QPushButton* b : m_weekdayButtons)
        setHighlighted(b, false);
    m_selectedWeekday = weekday;
    m_host.hidePanels();
    refreshList();
    setVisible(true);
    setHighlighted(m_weekdayButtons[static_cast<size_t>(weekday)], true);
}

void RangePanel::onAllWeekdays() {
    m_host.hidePanels();
    for (QPushButton* b : m_weekdayButtons)
        setHighlighted(b, false);
    m_selectedWeekday = range::kAllWeekdays;
    refreshList();
    setVisible(true);
    setHighlighted(m_allWeekdaysButton, true);
}

void RangePanel::onSituationClicked(QListWidgetItem* item) {
    if (!item)
        return;
    m_keywordField->setText(item->text());
    m_host.hidePanels();
    setHighlighted(m_allSituationsButton, false);
    refreshList();
    setVisible(true);
}

void RangePanel::onAllSituations() {
    m_host.hidePanels();
    m_keywordField->clear();
    refreshList();
    setVisible(true);
    setHighlighted(m_allSituationsButton, true);
}

void RangePanel::onKeyEntered() {
    m_host.hidePanels();
    setHighlighted(m_allSituationsButton, false);
    refreshList();
    setVisible(true);
}

void RangePanel::onSearch() {
    // 検索 looks for the word within the period only, whatever weekday is chosen
    const std::shared_ptr<const LogContents> reading = log();
    m_shown = Shown::Search;
    m_reading = reading;
    paint(range::build(range::Builder::Keyword, SharedRecords(reading, &reading->records), m_state.profile.height,
                       conditions()));
}

void RangePanel::onPrint() {
    Dialogs& dialogs = *m_state.dialogs;
    const auto answer = dialogs.message(messages::printQuestion(), messages::printQuestionTitle(),
                                        Dialogs::Icon::Question, Dialogs::Buttons::OkCancel);
    if (answer != Dialogs::Answer::Ok)
        return;
    // the picture is printed as grabbed: read back from the clipboard it would lose the
    // screen's pixel ratio and come out at twice its size on a high-density screen
    const QPixmap chart = m_chart->copyToClipboard();
    const std::vector<range::PrintOperation> operations = range::printout(m_list->model());
    m_state.printer->print(this, kPdfName, [&](PageSink& page) { replay(operations, chart, page); });
}

} // namespace puka::ui
