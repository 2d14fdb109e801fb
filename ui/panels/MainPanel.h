#pragma once

#include "core/edits/LogEdits.h"
#include "core/files/DataLog.h"
#include "core/views/MainView.h"

#include "ui/panels/Panel.h"
#include <QDate>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QToolButton;
class QVBoxLayout;

namespace puka::ui {

struct AppState;
class BmiScale;
class ChartView;
class ChoiceList;
class GridView;
class MonthCalendar;

/// The main panel: the month calendar, the measurement entry, the day list and chart, the
/// progress figures with the trend, the face mark and the small BMI indicator.
class MainPanel : public Panel {
    Q_OBJECT
public:
    MainPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("main.html"); }
    /// Rebuilds the day in view from the log as it is now; the chosen situation, the typed
    /// values and the place in the day list stay.
    void refresh() override;

    /// Rebuilds the panel for the date selected in the calendar.
    void buildMainView();
    /// Judges the current BMI; tells the meter when its scroll value changes.
    void judgeBmi();
    /// The marker style of both chart series from the marker mode.
    void applyMarkerStyle();
    /// Selects @p date in the calendar without running its click handler.
    void selectDate(const QDate& date);
    QDate selectedDate() const;
    /// Fills the situation choice with @p words.
    void setSituations(const QStringList& words) override;
    void appendSituation(const QString& word) override;
    /// Enables or disables the four up and down buttons.
    void setStepButtonsEnabled(bool enabled);
    /// Selects the chart mode 混合 as a click would.
    void selectMixedMode();
    /// Puts the keyboard on the situation list, where a measurement begins.
    void focusEntry();

    /// The log as the last buildMainView read it: lines it skipped, whether it exists.
    const LogContents& lastLog() const { return *m_log; }

Q_SIGNALS:
    /// The free input added a word to the situation list file.
    void situationAdded(const QString& word);
    /// The BMI judgement has moved the meter: its display must follow.
    void meterChanged();

private:
    /// The calendar, the faces, the body type and the progress figures.
    QVBoxLayout* buildLeftColumn();
    QGroupBox* buildProgress();
    /// The chart with its three options above it.
    QVBoxLayout* buildChartBox();
    void buildEntry(QWidget* box);
    /// The situation list with the free-text and time buttons under it.
    QVBoxLayout* buildSituationColumn(QWidget* box);
    /// The weight and body fat fields with their arrows, and the save button.
    QGridLayout* buildValueFields(QWidget* box);
    void connectEntry();
    /// Shows a build; @p keepPlace keeps the day list's chosen row and scroll position.
    void paint(const MainView& view, bool keepPlace = false);
    void prepareEntry();
    void onSituationClicked(QListWidgetItem* item);
    void onSituationChosenByKeyboard(QListWidgetItem* item, bool confirmed);
    void onFree();
    void onTime();
    void onStep(QLineEdit* field, const QString& step, int direction);
    void onSave();
    void onChartMode();
    void onChartClicked();
    void onDateClicked(const QDate& date);
    void showFace(const QString& name);
    /// The trend line of the progress box, from the log the last buildMainView read.
    void showTrend();
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// The measurement row @p gridRow of the day list shows, with its number in the log.
    std::optional<logedits::NumberedRecord> recordInRow(int gridRow) const;

    std::shared_ptr<const LogContents> m_log;
    /// The day the list, the checks and the save belong to: the one the last buildMainView showed.
    QDate m_shownDate;
    QString m_selectedSituation;

    MonthCalendar* m_calendar;
    GridView* m_dayList;
    ChartView* m_chart;
    QRadioButton* m_weightOption;
    QRadioButton* m_bodyFatOption;
    QRadioButton* m_mixedOption;
    QLabel* m_daysLabel;
    QLabel* m_weightLabel;
    QLabel* m_bmiLabel;
    QLabel* m_obesityLabel;
    QLabel* m_trendLabel;
    QLabel* m_bodyTypeLabel;
    BmiScale* m_indicator;
    QLabel* m_laughingFace;
    QLabel* m_smilingFace;
    QLabel* m_sulkyFace;
    QLabel* m_blankFace;
    ChoiceList* m_situationList;
    QToolButton* m_freeSituationButton;
    QToolButton* m_timeButton;
    QLineEdit* m_weightField;
    QLineEdit* m_bodyFatField;
    QPushButton* m_weightUpButton;
    QPushButton* m_weightDownButton;
    QPushButton* m_bodyFatUpButton;
    QPushButton* m_bodyFatDownButton;
    QToolButton* m_saveButton;
};

} // namespace puka::ui
