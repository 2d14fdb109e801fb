#include "DailyPanel.h"

#include "AppState.h"
#include "DailyExport.h"
#include "DataLog.h"
#include "PanelHost.h"
#include "controls/ChartView.h"
#include "controls/Dialogs.h"
#include "controls/GridView.h"
#include "controls/PageSink.h"
#include "controls/Printer.h"
#include "controls/Twips.h"

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
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setToolTip(tooltip);
    b->setAutoDefault(false);
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
    msgAvgtai = new GridView(this);
    msgAvgtai->setObjectName(QStringLiteral("msgAvgtai"));
    msgAvgtai->setModel(daily::SET_HIHEIKIN_GRID());
    msgAvgtai->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    msgAvgtai->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // the three columns are seen whole: the list is as wide as they are
    msgAvgtai->setFixedWidth(msgAvgtai->horizontalHeader()->length() + 2 * msgAvgtai->frameWidth() +
                             msgAvgtai->verticalScrollBar()->sizeHint().width());

    mcrAvgtai = new ChartView(this);
    mcrAvgtai->setObjectName(QStringLiteral("mcrAvgtai"));
    mcrAvgtai->setMinimumSize(scaledPixels(420, this), scaledPixels(300, this));
    mcrAvgtai->setSeriesColour(0, QColor(0x3a, 0x6e, 0xd8));
    mcrAvgtai->setAxisTitle(ChartView::Axis::Primary, QStringLiteral("体重（Kg）"));
    mcrAvgtai->setAxisVisible(ChartView::Axis::Secondary, false);

    cboStdate2 = dateCombo("cboStdate2", this);
    cboEddate2 = dateCombo("cboEddate2", this);
    m_dates = new QStringListModel(this);
    cboStdate2->setModel(m_dates);
    cboEddate2->setModel(m_dates);
    cmdKikanF2 = commandButton("cmdKikanF2", QStringLiteral("指定した期間で表示"),
                               QStringLiteral("開始日から終了日までの平均を表示します"), this);
    cmdAvgHozon = commandButton("cmdAvgHozon", QStringLiteral("平均データを保存"),
                                QStringLiteral("表示中の平均データを 日毎平均.txt に保存します"), this);
    cmdAvgPri = commandButton("cmdAvgPri", QStringLiteral("平均データを印刷"),
                              QStringLiteral("表示中のグラフと平均データを印刷します"), this);

    auto* period = new QHBoxLayout;
    period->setSpacing(6);
    period->addWidget(new QLabel(QStringLiteral("期間"), this));
    period->addWidget(cboStdate2);
    period->addWidget(new QLabel(QStringLiteral("～"), this));
    period->addWidget(cboEddate2);
    period->addWidget(cmdKikanF2);
    period->addStretch(1);
    period->addWidget(cmdAvgHozon);
    period->addWidget(cmdAvgPri);

    auto* body = new QHBoxLayout;
    body->addWidget(msgAvgtai);
    body->addWidget(mcrAvgtai, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(period);
    layout->addLayout(body, 1);

    setTabChain({cboStdate2, cboEddate2, cmdKikanF2, cmdAvgHozon, cmdAvgPri, msgAvgtai});

    connect(cmdKikanF2, &QPushButton::clicked, this, &DailyPanel::onPeriod);
    connect(cmdAvgHozon, &QPushButton::clicked, this, &DailyPanel::onExport);
    connect(cmdAvgPri, &QPushButton::clicked, this, &DailyPanel::onPrint);
}

void DailyPanel::open() {
    if (isVisible())
        return;
    // the whole-log build of an unchanged log is the one made before
    const std::shared_ptr<const LogContents> reading = log();
    if (reading != m_wholeReading) {
        m_whole = daily::DSP_HIHEIKIN(reading->records);
        m_wholeReading = reading;
    }
    m_view = m_whole;
    m_period.reset();
    paintList();
    paintCombos();
    m_host.HIDE_PANELS();
    showWithGuidance(daily::guidanceText());
}

void DailyPanel::paintList(bool keepPlace) {
    if (keepPlace)
        msgAvgtai->updateModel(m_view.grid);
    else
        msgAvgtai->setModel(m_view.grid);
    mcrAvgtai->setChart(m_view.chart);
}

void DailyPanel::refresh() {
    const std::shared_ptr<const LogContents> reading = log();
    const QString previousStart = m_view.startText;
    const QString previousEnd = m_view.endText;
    if (reading != m_wholeReading) {
        m_whole = daily::DSP_HIHEIKIN(reading->records);
        m_wholeReading = reading;
    }
    m_view = m_whole;
    // a period that no longer fits the log leaves the whole log shown
    if (m_period && !daily::DSP_HIHEIKIN_KIKAN(reading->records, m_period->first, m_period->second, &m_view))
        m_period.reset();
    paintList(true);
    // texts the whole-log build set, and the user has not changed, follow the log
    const QSignalBlocker blockStart(cboStdate2);
    const QSignalBlocker blockEnd(cboEddate2);
    const QString start = cboStdate2->currentText() == previousStart ? m_view.startText : cboStdate2->currentText();
    const QString end = cboEddate2->currentText() == previousEnd ? m_view.endText : cboEddate2->currentText();
    m_dates->setStringList(m_view.dateList);
    cboStdate2->setEditText(start);
    cboEddate2->setEditText(end);
}

void DailyPanel::paintCombos() {
    const QSignalBlocker blockStart(cboStdate2);
    const QSignalBlocker blockEnd(cboEddate2);
    // thousands of days: both lists take them in one reset of their shared model
    m_dates->setStringList(m_view.dateList);
    for (const auto& [combo, text] : {std::pair{cboStdate2, m_view.startText}, std::pair{cboEddate2, m_view.endText}}) {
        // the entry is chosen too, so that the opened list shows where the text stands
        combo->setCurrentIndex(combo->findText(text));
        combo->setEditText(text);
    }
}

void DailyPanel::onPeriod() {
    const Status s =
        daily::DSP_HIHEIKIN_KIKAN(log()->records, cboStdate2->currentText(), cboEddate2->currentText(), &m_view);
    if (!s) {
        m_state.dialogs->message(s.message(), daily::periodRefusalTitle(), Dialogs::Icon::Warning);
        return;
    }
    m_period = std::make_pair(cboStdate2->currentText(), cboEddate2->currentText());
    // the combos keep what the user chose
    paintList();
}

void DailyPanel::onExport() {
    Dialogs& dialogs = *m_state.dialogs;
    const Status s = daily::exportAverages(m_state.workDir, msgAvgtai->model());
    if (!s) {
        dialogs.message(s.message(), daily::exportFailedTitle(), Dialogs::Icon::Critical);
        return;
    }
    dialogs.message(daily::exportDoneMessage(), daily::exportDoneTitle(), Dialogs::Icon::Information);
}

void DailyPanel::onPrint() {
    Dialogs& dialogs = *m_state.dialogs;
    const auto answer = dialogs.message(daily::printQuestion(), daily::printQuestionTitle(), Dialogs::Icon::Question,
                                        Dialogs::Buttons::OkCancel);
    if (answer != Dialogs::Answer::Ok)
        return;
    const QPixmap picture = mcrAvgtai->copyToClipboard();
    const daily::AveragePrintout layout = daily::printout(msgAvgtai->model());
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
