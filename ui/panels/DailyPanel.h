#pragma once

#include "DailyAverages.h"

#include "Panel.h"

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

private:
    void paintList();
    void paintCombos();
    void onPeriod();
    void onExport();
    void onPrint();

    /// What the last build left: the period build replaces its grid and chart only.
    daily::DailyAverages m_view;

    GridView* msgAvgtai;
    ChartView* mcrAvgtai;
    QComboBox* cboStdate2;
    QComboBox* cboEddate2;
    QStringListModel* m_dates; ///< the items of both date lists, set in one call
    QPushButton* cmdKikanF2;
    QPushButton* cmdAvgHozon;
    QPushButton* cmdAvgPri;
};

} // namespace puka::ui
