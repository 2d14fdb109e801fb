#include "MemoPanel.h"

#include "PanelHost.h"

namespace puka::ui {

MemoPanel::MemoPanel(AppState& state, PanelHost& host, QWidget* parent) : Panel(state, host, "fraMemo", parent) {}

void MemoPanel::open() {
    m_host.HIDE_PANELS();
    setVisible(true);
}

} // namespace puka::ui
