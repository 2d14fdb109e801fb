#pragma once

#include "Panel.h"

namespace puka::ui {

/// The panel fraCale.
class CalendarPanel : public Panel {
    Q_OBJECT
public:
    CalendarPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("calendar.html"); }
};

} // namespace puka::ui
