#include "RangePanel.h"

#include "PanelHost.h"

namespace puka::ui {

RangePanel::RangePanel(AppState& state, PanelHost& host, QWidget* parent) : Panel(state, host, "fraTaijyu", parent) {}

void RangePanel::open() {
    m_host.HIDE_PANELS();
    setVisible(true);
}

} // namespace puka::ui
