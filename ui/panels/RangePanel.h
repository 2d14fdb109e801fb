#pragma once

#include "core/base/WeightRecord.h"
#include "core/files/DataLog.h"
#include "core/views/RangeConditions.h"
#include "core/views/RangeView.h"
#include "ui/panels/Panel.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QStringListModel;
class QLineEdit;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QToolButton;
class QVBoxLayout;

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
    /// Builds the list and chart again from the log as it is now, by the build last made and
    /// under the conditions chosen; the date lists take the log's dates and keep their texts.
    void refresh() override;
    void setSituations(const QStringList& words) override;
    void appendSituation(const QString& word) override;

    /// The weekday the weekday buttons chose, 0 Sunday to 6 Saturday, or range::kAllWeekdays.
    int selectedWeekday() const { return m_selectedWeekday; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The list of the records the conditions choose.
    void buildList();
    /// The chart with its three options and the print button above it.
    QVBoxLayout* buildChartColumn();
    QWidget* buildSituationBox();
    QWidget* buildWeekdayBox();
    QWidget* buildPeriodBox();

    /// The conditions as the controls hold them now.
    range::Conditions conditions() const;
    /// The chart option whose button is checked.
    range::ChartOption checkedOption() const;
    /// The build the list shows now.
    enum class Shown {
        Opening,    ///< the opening build: every record
        Conditions, ///< refreshList under the conditions
        Search,     ///< 検索: the keyword within the period
    };

    /// Shows a build in the grid and the chart, the chart as the checked option shows it;
    /// @p keepPlace keeps the grid's chosen row and scroll position.
    void paint(range::RangeView view, bool keepPlace = false);
    /// The log's dates into both date lists, their texts as they were.
    void setDates(const QStringList& dates);
    /// The opening build of @p reading for the profile's height: the one made before while
    /// neither changed.
    const range::RangeView& openingBuild(const std::shared_ptr<const LogContents>& reading);
    /// Rebuilds the list and chart under the current conditions.
    void refreshList();
    /// Every period button back to the normal colour.
    void resetPeriodColours();
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
    /// The reading the list was built from, and the number of the record each listed row shows,
    /// for correcting and deleting from the list.
    std::shared_ptr<const LogContents> m_reading;
    std::vector<int> m_recordNumbers;
    Shown m_shown = Shown::Opening;
    /// The last opening build and what it was made from.
    std::optional<range::RangeView> m_opening;
    std::shared_ptr<const LogContents> m_openingReading;
    float m_openingHeight = 0;
    /// The reading whose dates the date lists hold.
    std::shared_ptr<const LogContents> m_datesFrom;
    /// The bounds the opening build put into the date lists, to tell them from typed ones.
    QString m_openingStart;
    QString m_openingEnd;

    ChoiceList* m_situationList;
    QLineEdit* m_keywordField;
    QPushButton* m_searchButton;
    QPushButton* m_allSituationsButton;
    std::array<QPushButton*, 7> m_weekdayButtons{};
    QPushButton* m_allWeekdaysButton;
    std::array<QPushButton*, 8> m_periodButtons{}; ///< cmdKikan1 to cmdKikan8
    QPushButton* m_allPeriodButton;
    QPushButton* m_freePeriodButton;
    QComboBox* m_startDateBox;
    QComboBox* m_endDateBox;
    QStringListModel* m_dates; ///< the items of both date lists, set in one call
    GridView* m_list;
    ChartView* m_chart;
    QRadioButton* m_weightOption;
    QRadioButton* m_bodyFatOption;
    QRadioButton* m_mixedOption;
    QToolButton* m_printButton;
};

} // namespace puka::ui
