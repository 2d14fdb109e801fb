#pragma once

#include "Panel.h"

namespace puka::ui {

/// The panel fraRenTai.
class GraphPanel : public Panel {
    Q_OBJECT
public:
    GraphPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("graph.html"); }
};

} // namespace puka::ui
