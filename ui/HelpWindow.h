#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QHBoxLayout;
class QListWidget;
class QTextBrowser;
class QToolButton;
class QUrl;

namespace puka::ui {

/// The help: our own HTML pages in a window of their own beside the main window.
///
/// The window is a non-modal top-level window owned by the main window: it stays hidden
/// until showTopic() finds a page, and the owner closes it with close(). The pages are read
/// from the compiled-in resources ":/help" unless setHelpRoot() points the window at a
/// folder holding the same files (an installed copy of the pages, or a test's folder).
///
/// Screen pictures: a page shows a picture of its panel in a paragraph of class "shot",
/// `<p class="shot"><img src="screenshots/main.png" ...></p>`. When a picture file is not
/// there, the window leaves out that whole paragraph, so a page never shows a broken-image
/// box; a picture added later (to the folder, or to help.qrc) appears without a change to
/// the page.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    /// One entry of the table of contents on the left.
    struct Topic {
        QString page;  ///< file name under the help root, "index.html"
        QString title; ///< what the list shows, "はじめに"
    };

    /// A hidden help window owned by @p owner, reading the compiled-in pages.
    explicit HelpWindow(QWidget* owner);

    /// The folder the pages come from: ":/help" unless setHelpRoot() changed it.
    const QString& helpRoot() const { return m_root; }
    /// Reads the pages from @p root from now on; the page shown stays until the next showTopic().
    void setHelpRoot(const QString& root);

    /// Shows @p page ("main.html", or "main.html#face" for a place on it) and raises the
    /// window. Returns false, showing nothing and leaving the window as it was, when the
    /// page does not exist under the help root.
    bool showTopic(const QString& page = QStringLiteral("index.html"));

    /// True when @p page (an anchor after "#" is ignored) exists under the help root.
    bool hasPage(const QString& page) const;

    /// The file name of the page shown; empty before the first page.
    QString currentPage() const;

    /// The table of contents, in the order of the toolbar.
    static const QList<Topic>& topics();

private:
    /// The back, forward and contents buttons across the top.
    QHBoxLayout* buildNavigation();
    /// The list of topics with its caption.
    QWidget* buildContents();
    void buildBrowser();
    /// The buttons and the topic list move the browser; the browser marks its topic.
    void connectNavigation();
    QUrl pageUrl(const QString& page) const;
    void followLink(const QUrl& link);
    void markCurrentTopic(const QUrl& shown);

    QString m_root;
    QTextBrowser* m_browser = nullptr;
    QListWidget* m_topicList = nullptr;
    QToolButton* m_back = nullptr;
    QToolButton* m_forward = nullptr;
    QToolButton* m_home = nullptr;
};

} // namespace puka::ui
