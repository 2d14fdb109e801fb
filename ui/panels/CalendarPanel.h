#pragma once

#include "core/views/CalendarView.h"

#include "core/files/DataLog.h"
#include "ui/panels/Panel.h"

#include <QDate>

#include <array>
#include <memory>
#include <optional>

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;

namespace puka::ui {

class GridView;

/// The colour calendar: every month of the log as a row of days, each measured day coloured
/// by how the weight moved within it, with the counts of each kind and a face for the balance.
class CalendarPanel : public Panel {
    Q_OBJECT
public:
    CalendarPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("calendar.html"); }
    /// Colours the months again from the log as it is now, in the mode chosen; the grid keeps
    /// its chosen cell and scroll position.
    void refresh() override;

private:
    /// The colour legend and the two mode buttons across the top.
    QHBoxLayout* buildLegendRow();
    void buildGrid();
    /// The faces and the totals of good and bad days under the grid.
    QGridLayout* buildBalance();
    /// Sets the display mode and the back colours of the mode buttons.
    void setMode(calendar::Mode mode);
    /// Reads the log and paints the grid, the counts, the sign and the face.
    void buildCalendar();
    /// Shows a build; @p keepPlace keeps the grid's chosen cell and scroll position.
    void paint(const calendar::CalendarView& view, bool keepPlace = false);
    void onSelect(int index);
    void onDoubleClick(int row, int column);

    calendar::Mode m_mode = calendar::Mode::Detailed;
    /// The last colouring and what it was made from; the same is not coloured again.
    std::optional<calendar::CalendarView> m_built;
    std::shared_ptr<const LogContents> m_builtReading;
    calendar::Mode m_builtMode = calendar::Mode::Detailed;
    QDate m_builtToday;

    GridView* m_grid;
    std::array<QPushButton*, 2> m_modeButtons;
    QLabel* m_downLabel;
    QLabel* m_upLabel;
    QLabel* m_sameLabel;
    QLabel* m_onceLabel;
    QLabel* m_unmeasuredLabel;
    QLabel* m_goodDaysLabel;
    QLabel* m_badDaysLabel;
    QLabel* m_balanceLabel;
    QLabel* m_laughingFace;
    QLabel* m_smilingFace;
    QLabel* m_sulkyFace;
};

} // namespace puka::ui
