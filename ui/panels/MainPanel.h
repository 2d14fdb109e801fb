#pragma once

#include "DataLog.h"
#include "LogEdits.h"
#include "MainView.h"

#include "Panel.h"
#include <QDate>

class QLabel;
class QLineEdit;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QToolButton;

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

    /// DSP_MAIN: rebuilds the panel for the date selected in the calendar.
    void DSP_MAIN();
    /// SET_BMI_HANTEI: judges the current BMI; tells the meter when its scroll value changes.
    void SET_BMI_HANTEI();
    /// SET_MARKER: the marker style of both chart series from the marker mode.
    void SET_MARKER();
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

    /// The log as the last DSP_MAIN read it: lines it skipped, whether it exists.
    const LogContents& lastLog() const { return *m_log; }

Q_SIGNALS:
    /// The free input added a word to the situation list file.
    void situationAdded(const QString& word);
    /// The BMI judgement has moved the meter: its display must follow.
    void meterChanged();

private:
    void buildEntry(QWidget* box);
    /// Shows a build; @p keepPlace keeps the day list's chosen row and scroll position.
    void paint(const MainView& view, bool keepPlace = false);
    void READY_INPUT();
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
    /// The trend line of the progress box, from the log the last DSP_MAIN read.
    void showTrend();
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// The measurement row @p gridRow of the day list shows, with its number in the log.
    std::optional<logedits::NumberedRecord> recordInRow(int gridRow) const;

    std::shared_ptr<const LogContents> m_log;
    /// The day the list, the checks and the save belong to: the one the last DSP_MAIN showed.
    QDate m_shownDate;
    QString m_selectedSituation;

    MonthCalendar* mtvmain;
    GridView* msgDayList;
    ChartView* mcrMain;
    QRadioButton* optTai;
    QRadioButton* optShi;
    QRadioButton* optKon;
    QLabel* lblDspNissuu;
    QLabel* lblDspTai;
    QLabel* lblDspBmi;
    QLabel* lblDspHiman;
    QLabel* lblDspTrend;
    QLabel* lblMHyouka;
    BmiScale* m_indicator;
    QLabel* imgwara;
    QLabel* imgniko;
    QLabel* imgkana;
    QLabel* imgNashi;
    ChoiceList* lstAct;
    QToolButton* cmdFree;
    QToolButton* cmdJikan;
    QLineEdit* txtTaiInp;
    QLineEdit* txtShiInp;
    QPushButton* cmdUp;
    QPushButton* cmdDn;
    QPushButton* cmdUp1;
    QPushButton* cmdDn1;
    QToolButton* cmdTaiHozon;
};

} // namespace puka::ui
