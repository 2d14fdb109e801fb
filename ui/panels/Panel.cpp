#include "ui/panels/Panel.h"

#include "core/files/FolderReadings.h"
#include "ui/AppState.h"
#include "ui/panels/PanelHost.h"

#include <QApplication>

namespace puka::ui {

Panel::Panel(AppState& state, PanelHost& host, const char* objectName, QWidget* parent)
    : QFrame(parent), m_state(state), m_host(host) {
    setObjectName(QString::fromUtf8(objectName));
}

void Panel::showWithGuidance(const QString& guidance) {
    setVisible(true);
    // the panel is drawn before the help tour's box covers it
    QApplication::processEvents();
    m_state.guidanceText = guidance;
    m_host.showGuidance();
}

std::shared_ptr<const LogContents> Panel::log() const {
    return m_state.readings->log();
}

void Panel::setTabChain(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace puka::ui
