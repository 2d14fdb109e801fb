#pragma once

#include "core/views/DailyView.h"

#include "core/files/DataLog.h"
#include "ui/panels/Panel.h"

#include <memory>
#include <optional>
#include <utility>

class QComboBox;
class QStringListModel;
class QPushButton;

namespace puka::ui {

class ChartView;
class GridView;

/// The daily-average panel: one mean weight per calendar day as a list and a chart, for the
/// whole log or a chosen period, with the export to "日毎平均.txt" and the printout.
class DailyPanel : public Panel {
    Q_OBJECT
public:
    DailyPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("daily.html"); }
    /// Builds the averages again from the log as it is now, for the period applied (or the
    /// whole log); the date lists take the log's days and keep their texts.
    void refresh() override;

private:
    /// Shows the list and chart; @p keepPlace keeps the list's chosen row and scroll position.
    void paintList(bool keepPlace = false);
    void paintCombos();
    void onPeriod();
    void onExport();
    void onPrint();

    /// What the last build left: the period build replaces its grid and chart only.
    daily::DailyView m_view;
    /// The whole-log build of m_wholeReading, made once for each reading.
    daily::DailyView m_whole;
    std::shared_ptr<const LogContents> m_wholeReading;
    /// The period texts of the last period build shown, or nothing while the whole log is.
    std::optional<std::pair<QString, QString>> m_period;

    GridView* m_list;
    ChartView* m_chart;
    QComboBox* m_startDateBox;
    QComboBox* m_endDateBox;
    QStringListModel* m_dates; ///< the items of both date lists, set in one call
    QPushButton* m_periodButton;
    QPushButton* m_exportButton;
    QPushButton* m_printButton;
};

} // namespace puka::ui
