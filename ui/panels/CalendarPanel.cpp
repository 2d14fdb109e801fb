#include "CalendarPanel.h"

#include "PanelHost.h"

namespace puka::ui {

CalendarPanel::CalendarPanel(AppState& state, PanelHost& host, QWidget* parent)
    : Panel(state, host, "fraCale", parent) {}

void CalendarPanel::open() {
    m_host.HIDE_PANELS();
    setVisible(true);
}

} // namespace puka::ui
