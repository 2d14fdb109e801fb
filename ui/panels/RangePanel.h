#pragma once

#include "Panel.h"

namespace puka::ui {

/// The panel fraTaijyu.
class RangePanel : public Panel {
    Q_OBJECT
public:
    RangePanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("range.html"); }
};

} // namespace puka::ui
