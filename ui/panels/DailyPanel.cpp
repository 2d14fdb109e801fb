#include "ui/panels/DailyPanel.h"

#include "core/base/Messages.h"
#include "core/files/DailyExport.h"
#include "core/files/DataLog.h"
#include "ui/AppState.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/Dialogs.h"
#include "ui/controls/GridView.h"
#include "ui/controls/PageSink.h"
#include "ui/controls/Printer.h"
#include "ui/controls/Twips.h"
#include "ui/controls/Widgets.h"
#include "ui/panels/PanelHost.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QVBoxLayout>

namespace puka::ui {
namespace {

/// Room left between the chart picture and the list beside it on the page.
constexpr int kChartGapTwips = 200;

QPushButton* commandButton(const char* name, const QString& caption, const QString& tooltip, QWidget* parent) {
    QPushButton* b = widgets::pushButton(QString::fromUtf8(name), caption, parent);
    b->setToolTip(tooltip);
    return b;
}

QComboBox* dateCombo(const char* name, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromUtf8(name));
    c->setEditable(true);
    // a typed date chooses the period; it is not a new entry of the list
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMaxVisibleItems(20);
    c->setMinimumContentsLength(9);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return c;
}

/// Draws the chart at its own size where the page wants it, made smaller when a wide window
/// would reach into the list that stands beside it.
void drawChart(PageSink& page, const QPixmap& picture, const daily::AveragePrintout& layout) {
    if (picture.isNull())
        return;
    const double dpi = picture.logicalDpiX() > 0 ? picture.logicalDpiX() : 96.0;
    const QSizeF own = picture.deviceIndependentSize() * (1440.0 / dpi);
    const double room = daily::kPrintListX - kChartGapTwips - layout.chartXTwips;
    if (own.width() <= room) {
        page.drawPicture(picture, layout.chartXTwips, layout.chartYTwips);
        return;
    }
    const QSizeF fitted = own.scaled(room, own.height(), Qt::KeepAspectRatio);
    page.drawPicture(picture, layout.chartXTwips, layout.chartYTwips, qRound(fitted.width()), qRound(fitted.height()));
}

} // namespace

DailyPanel::DailyPanel(AppState& state, PanelHost& host, QWidget* parent) : Panel(state, host, "fraAvgTai", parent) {
    m_list = widgets::grid(QStringLiteral("msgAvgtai"), this);
    m_list->setModel(daily::emptyDailyList());
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // the three columns are seen whole: the list is as wide as they are
    m_list->setFixedWidth(m_list->horizontalHeader()->length() + 2 * m_list->frameWidth() +
                          m_list->verticalScrollBar()->sizeHint().width());

    m_chart = new ChartView(this);
    m_chart->setObjectName(QStringLiteral("mcrAvgtai"));
    m_chart->setMinimumSize(scaledPixels(420, this), scaledPixels(300, this));
    m_chart->setSeriesColour(0, QColor(0x3a, 0x6e, 0xd8));
    m_chart->setAxisTitle(ChartView::Axis::Primary, QStringLiteral("体重（Kg）"));
    m_chart->setAxisVisible(ChartView::Axis::Secondary, false);

    m_startDateBox = dateCombo("cboStdate2", this);
    m_endDateBox = dateCombo("cboEddate2", this);
    m_dates = new QStringListModel(this);
    m_startDateBox->setModel(m_dates);
    m_endDateBox->setModel(m_dates);
    m_periodButton = commandButton("cmdKikanF2", QStringLiteral("指定した期間で表示"),
                                   QStringLiteral("開始日から終了日までの平均を表示します"), this);
    m_exportButton = commandButton("cmdAvgHozon", QStringLiteral("平均データを保存"),
                                   QStringLiteral("表示中の平均データを 日毎平均.txt に保存します"), this);
    m_printButton = commandButton("cmdAvgPri", QStringLiteral("平均データを印刷"),
                                  QStringLiteral("表示中のグラフと平均データを印刷します"), this);

    auto* period = new QHBoxLayout;
    period->setSpacing(6);
    period->addWidget(new QLabel(QStringLiteral("期間"), this));
    period->addWidget(m_startDateBox);
    period->addWidget(new QLabel(QStringLiteral("～"), this));
    period->addWidget(m_endDateBox);
    period->addWidget(m_periodButton);
    period->addStretch(1);
    period->addWidget(m_exportButton);
    period->addWidget(m_printButton);

    auto* body = new QHBoxLayout;
    body->addWidget(m_list);
    body->addWidget(m_chart, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(period);
    layout->addLayout(body, 1);

    setTabChain({m_startDateBox, m_endDateBox, m_periodButton, m_exportButton, m_printButton, m_list});

    connect(m_periodButton, &QPushButton::clicked, this, &DailyPanel::onPeriod);
    connect(m_exportButton, &QPushButton::clicked, this, &DailyPanel::onExport);
    connect(m_printButton, &QPushButton::clicked, this, &DailyPanel::onPrint);
}

void DailyPanel::open() {
    if (isVisible())
        return;
    // the whole-log build of an unchanged log is the one made before
    const std::shared_ptr<const LogContents> reading = log();
    if (reading != m_wholeReading) {
        m_whole = daily::buildDailyView(reading->records);
        m_wholeReading = reading;
    }
    m_view = m_whole;
    m_period.reset();
    paintList();
    paintCombos();
    m_host.hidePanels();
    showWithGuidance(daily::guidanceText());
}

void DailyPanel::paintList(bool keepPlace) {
    if (keepPlace)
        m_list->updateModel(m_view.grid);
    else
        m_list->setModel(m_view.grid);
    m_chart->setChart(m_view.chart);
}

void DailyPanel::refresh() {
    const std::shared_ptr<const LogContents> reading = log();
    const QString previousStart = m_view.startText;
    const QString previousEnd = m_view.endText;
    if (reading != m_wholeReading) {
        m_whole = daily::buildDailyView(reading->records);
        m_wholeReading = reading;
    }
    m_view = m_whole;
    // a period that no longer fits the log leaves the whole log shown
    if (m_period && !daily::fillPeriod(reading->records, m_period->first, m_period->second, &m_view))
        m_period.reset();
    paintList(true);
    // texts the whole-log build set, and the user has not changed, follow the log
    const QSignalBlocker blockStart(m_startDateBox);
    const QSignalBlocker blockEnd(m_endDateBox);
    const QString start =
        m_startDateBox->currentText() == previousStart ? m_view.startText : m_startDateBox->currentText();
    const QString end = m_endDateBox->currentText() == previousEnd ? m_view.endText : m_endDateBox->currentText();
    m_dates->setStringList(m_view.dateList);
    m_startDateBox->setEditText(start);
    m_endDateBox->setEditText(end);
}

void DailyPanel::paintCombos() {
    const QSignalBlocker blockStart(m_startDateBox);
    const QSignalBlocker blockEnd(m_endDateBox);
    // thousands of days: both lists take them in one reset of their shared model
    m_dates->setStringList(m_view.dateList);
    for (const auto& [combo, text] :
         {std::pair{m_startDateBox, m_view.startText}, std::pair{m_endDateBox, m_view.endText}}) {
        // the entry is chosen too, so that the opened list shows where the text stands
        combo->setCurrentIndex(combo->findText(text));
        combo->setEditText(text);
    }
}

void DailyPanel::onPeriod() {
    const Status s =
        daily::fillPeriod(log()->records, m_startDateBox->currentText(), m_endDateBox->currentText(), &m_view);
    if (!s) {
        m_state.dialogs->message(s.message(), s.notice().title, Dialogs::Icon::Warning);
        return;
    }
    m_period = std::make_pair(m_startDateBox->currentText(), m_endDateBox->currentText());
    // the combos keep what the user chose
    paintList();
}

void DailyPanel::onExport() {
    Dialogs& dialogs = *m_state.dialogs;
    const Status s = daily::exportAverages(m_state.workDir, m_list->model());
    if (!s) {
        showFailure(dialogs, s);
        return;
    }
    dialogs.message(daily::exportDoneMessage(), daily::exportDoneTitle(), Dialogs::Icon::Information);
}

void DailyPanel::onPrint() {
    Dialogs& dialogs = *m_state.dialogs;
    const auto answer = dialogs.message(messages::printQuestion(), messages::printQuestionTitle(),
                                        Dialogs::Icon::Question, Dialogs::Buttons::OkCancel);
    if (answer != Dialogs::Answer::Ok)
        return;
    const QPixmap picture = m_chart->copyToClipboard();
    const daily::AveragePrintout layout = daily::printout(m_list->model());
    m_state.printer->print(this, QStringLiteral("日毎平均.pdf"), [&](PageSink& page) {
        page.setX(layout.chartXTwips);
        page.setY(layout.chartYTwips);
        drawChart(page, picture, layout);
        for (const daily::AveragePrintout::Line& line : layout.lines) {
            page.setX(line.xTwips);
            if (line.yTwips)
                page.setY(*line.yTwips);
            page.printZones(line.zones);
        }
    });
}

} // namespace puka::ui
