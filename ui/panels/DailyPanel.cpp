#include "DailyPanel.h"

#include "PanelHost.h"

namespace puka::ui {

DailyPanel::DailyPanel(AppState& state, PanelHost& host, QWidget* parent) : Panel(state, host, "fraAvgTai", parent) {}

void DailyPanel::open() {
    m_host.HIDE_PANELS();
    setVisible(true);
}

} // namespace puka::ui
