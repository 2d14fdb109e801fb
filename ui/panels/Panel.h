#pragma once

#include <QFrame>

#include <initializer_list>

namespace puka::ui {

struct AppState;
class PanelHost;

/// A panel of the main window, opened by its toolbar button.
class Panel : public QFrame {
    Q_OBJECT
public:
    Panel(AppState& state, PanelHost& host, const char* objectName, QWidget* parent = nullptr);

    /// Opens the panel as its toolbar button does; called only while the panel is hidden.
    virtual void open() = 0;
    /// The help page that describes this panel ("main.html", ...).
    virtual QString helpPage() const = 0;
    /// Puts @p words into the panel's situation list, for panels that have one.
    virtual void setSituations(const QStringList& words) { Q_UNUSED(words) }
    /// Appends @p word to the panel's situation list, for panels that have one.
    virtual void appendSituation(const QString& word) { Q_UNUSED(word) }
    /// Shows the log again after the window changed it (a correction, a deletion, an undo) while
    /// the panel is in view. The panel is built again as its button builds it, without the help
    /// tour speaking again; a panel whose choices should survive keeps them.
    virtual void showChangedLog();

protected:
    /// Makes the panel visible, lets the window paint, then lets the help tour speak @p guidance.
    void showWithGuidance(const QString& guidance);
    /// Lets the Tab key visit @p widgets in the order given, one after the other.
    static void setTabChain(std::initializer_list<QWidget*> widgets);

    AppState& m_state;
    PanelHost& m_host;
};

} // namespace puka::ui
