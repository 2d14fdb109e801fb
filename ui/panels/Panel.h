#pragma once

#include <QFrame>

#include <initializer_list>
#include <memory>

namespace puka {
struct LogContents;
}

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
    /// Rebuilds what the panel shows from the files as they are now, keeping the user's choices
    /// (conditions, options, the chosen row, typed texts) where they still exist. Asks nothing
    /// and shows no box: a file that cannot be read is told by the window.
    virtual void refresh() {}

protected:
    /// Makes the panel visible, lets the window paint, then lets the help tour speak @p guidance.
    void showWithGuidance(const QString& guidance);
    /// Lets the Tab key visit @p widgets in the order given, one after the other.
    static void setTabChain(std::initializer_list<QWidget*> widgets);
    /// The log as it is on disk now, read again only when it changed.
    std::shared_ptr<const LogContents> log() const;

    AppState& m_state;
    PanelHost& m_host;
};

} // namespace puka::ui
