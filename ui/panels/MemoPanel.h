#pragma once

#include "Panel.h"

namespace puka::ui {

/// The panel fraMemo.
class MemoPanel : public Panel {
    Q_OBJECT
public:
    MemoPanel(AppState& state, PanelHost& host, QWidget* parent = nullptr);

    void open() override;
    QString helpPage() const override { return QStringLiteral("diary.html"); }
};

} // namespace puka::ui
