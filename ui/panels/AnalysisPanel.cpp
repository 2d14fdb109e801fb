#include "AnalysisPanel.h"

#include "PanelHost.h"

namespace puka::ui {

AnalysisPanel::AnalysisPanel(AppState& state, PanelHost& host, QWidget* parent)
    : Panel(state, host, "fraBunseki", parent) {}

void AnalysisPanel::open() {
    m_host.HIDE_PANELS();
    setVisible(true);
}

} // namespace puka::ui
