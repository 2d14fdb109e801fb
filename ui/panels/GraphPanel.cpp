#include "GraphPanel.h"

#include "PanelHost.h"

namespace puka::ui {

GraphPanel::GraphPanel(AppState& state, PanelHost& host, QWidget* parent) : Panel(state, host, "fraRenTai", parent) {}

void GraphPanel::open() {
    m_host.HIDE_PANELS();
    setVisible(true);
}

} // namespace puka::ui
