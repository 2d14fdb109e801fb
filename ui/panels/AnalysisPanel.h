#pragma once

#include "Panel.h"

namespace puka::ui {

/// The panel fraBunseki.
class AnalysisPanel : public Panel {
    Q_OBJECT
public:
    AnalysisPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("analysis.html"); }
};

} // namespace puka::ui
