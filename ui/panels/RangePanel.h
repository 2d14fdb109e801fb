#pragma once

#include "Panel.h"
#include "RangeConditions.h"
#include "RangeView.h"
#include "WeightRecord.h"

#include <array>
#include <vector>

class QComboBox;
class QStringListModel;
class QLineEdit;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace puka::ui {

class ChartView;
class ChoiceList;
class GridView;

/// The range panel fraTaijyu: the measurements filtered by situation keyword, weekday and
/// period, as a list and a chart, and their printout.
class RangePanel : public Panel {
    Q_OBJECT
public:
    RangePanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("range.html"); }
    void setSituations(const QStringList& words) override;
    void appendSituation(const QString& word) override;
    /// Builds the list again as it was last built (the opening build, a condition, a search),
    /// scrolled where it was.
    void showChangedLog() override;

    /// The weekday the weekday buttons chose, 0 Sunday to 6 Saturday, or range::kAllWeekdays.
    int selectedWeekday() const { return m_selectedWeekday; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildSituationBox();
    QWidget* buildWeekdayBox();
    QWidget* buildPeriodBox();

    /// The conditions as the controls hold them now.
    range::Conditions conditions() const;
    /// The chart option whose button is checked.
    range::ChartOption checkedOption() const;
    /// Reads the log for a build; the records stay for correcting and deleting from the list.
    const std::vector<WeightRecord>& readLog();
    /// DSP_TAIJYU: the opening build with the date lists and their bounds.
    void buildOpening();
    /// Shows a build in the grid and the chart, the chart as the checked option shows it.
    void paint(range::RangeView view);
    /// REFRESH_TAIJYU: rebuilds the list and chart under the current conditions.
    void REFRESH_TAIJYU();
    /// RESET_KIKAN_COLOR: every period button back to the normal colour.
    void RESET_KIKAN_COLOR();
    void applyCheckedOption();

    void onPeriod(range::Period period, QPushButton* button);
    void onWeekday(int weekday);
    void onAllWeekdays();
    void onSituationClicked(QListWidgetItem* item);
    void onAllSituations();
    void onKeyEntered();
    void onSearch();
    void onPrint();

    int m_selectedWeekday = range::kAllWeekdays;
    /// The records of the last build, and the number of the record each listed row shows.
    std::vector<WeightRecord> m_records;
    std::vector<int> m_recordNumbers;
    /// The build the list shows, to build again after a change.
    void (RangePanel::*m_lastBuild)() = &RangePanel::buildOpening;

    ChoiceList* lstAct2;
    QLineEdit* txtKey;
    QPushButton* cmdKensaku;
    QPushButton* cmdAllact;
    std::array<QPushButton*, 7> cmdWeek{};
    QPushButton* cmdAllWeek;
    std::array<QPushButton*, 8> cmdKikan{}; ///< cmdKikan1 to cmdKikan8
    QPushButton* cmdAllDay;
    QPushButton* cmdKikanF;
    QComboBox* cboStdate;
    QComboBox* cboEddate;
    QStringListModel* m_dates; ///< the items of both date lists, set in one call
    GridView* msgBunseki;
    ChartView* mcrBunseki;
    QRadioButton* optTai2;
    QRadioButton* optShi2;
    QRadioButton* optKon2;
    QToolButton* cmdPriData;
};

} // namespace puka::ui
