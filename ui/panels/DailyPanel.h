#pragma once

#include "Panel.h"

namespace puka::ui {

/// The panel fraAvgTai.
class DailyPanel : public Panel {
    Q_OBJECT
public:
    DailyPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("daily.html"); }
};

} // namespace puka::ui
