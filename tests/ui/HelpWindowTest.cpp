#include "ui/HelpWindow.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

using puka::ui::HelpWindow;

namespace {

const QString kRoot = QStringLiteral(":/help");

QString readPage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QStringList compiledPages() {
    // the resources are registered by the first window
    QWidget owner;
    HelpWindow help(&owner);
    return QDir(kRoot).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

QStringList captures(const QString& html, const QString& pattern) {
    QStringList found;
    auto it = QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption).globalMatch(html);
    while (it.hasNext())
        found << it.next().captured(1);
    return found;
}

bool isExternal(const QString& link) {
    return link.startsWith(QLatin1String("http:")) || link.startsWith(QLatin1String("https:")) ||
           link.startsWith(QLatin1String("mailto:"));
}

QTextBrowser* browser(const HelpWindow& w) {
    return w.findChild<QTextBrowser*>(QStringLiteral("helpBrowser"));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A help folder of two pages: index.html links to other.html and shows one screen picture.
void writeSmallHelp(const QString& dir) {
    writeFile(dir + QStringLiteral("/index.html"),
              "<html><body><p>top</p><a href=\"other.html\">other</a> <a href=\"gone.html\">gone</a>"
              "<p class=\"shot\"><img src=\"screenshots/index.png\"><br>caption-of-shot</p><p>end</p></body></html>");
    writeFile(dir + QStringLiteral("/other.html"), "<html><body><p>other page</p></body></html>");
}

} // namespace

TEST(HelpPages, EveryCompiledPageOpens) {
    const QStringList pages = compiledPages();
    ASSERT_GE(pages.size(), 11);
    QWidget owner;
    HelpWindow help(&owner);
    for (const QString& page : pages) {
        ASSERT_TRUE(help.showTopic(page)) << page.toStdString();
        EXPECT_EQ(help.currentPage(), page);
        const QTextDocument* doc = browser(help)->document();
        EXPECT_FALSE(doc->metaInformation(QTextDocument::DocumentTitle).isEmpty()) << page.toStdString();
        EXPECT_GT(doc->toPlainText().trimmed().size(), 200) << page.toStdString();
    }
}

TEST(HelpPages, EveryLinkAndPictureResolves) {
    for (const QString& page : compiledPages()) {
        const QString html = readPage(kRoot + QLatin1Char('/') + page);
        for (const QString& link : captures(html, QStringLiteral("href=\"([^\"]*)\""))) {
            if (isExternal(link))
                continue;
            const QString file = link.section(QLatin1Char('#'), 0, 0);
            const QString anchor = link.section(QLatin1Char('#'), 1);
            const QString target = file.isEmpty() ? page : file;
            const std::string where = (page + QStringLiteral(" -> ") + link).toStdString();
            ASSERT_TRUE(QFile::exists(kRoot + QLatin1Char('/') + target)) << where;
            if (!anchor.isEmpty()) {
                const QString text = readPage(kRoot + QLatin1Char('/') + target);
                EXPECT_TRUE(text.contains(QStringLiteral("name=\"%1\"").arg(anchor))) << where;
            }
        }
        for (const QString& src : captures(html, QStringLiteral("<img\\s[^>]*src=\"([^\"]*)\""))) {
            // screen pictures arrive later; everything else must be there now
            if (src.startsWith(QLatin1String("screenshots/"))) {
                EXPECT_EQ(src, QStringLiteral("screenshots/%1.png").arg(page.section(QLatin1Char('.'), 0, 0)));
                continue;
            }
            const QUrl url(src);
            const QString path =
                url.scheme() == QLatin1String("qrc") ? QLatin1Char(':') + url.path() : kRoot + QLatin1Char('/') + src;
            EXPECT_FALSE(QImage(path).isNull()) << (page + QStringLiteral(": ") + src).toStdString();
        }
    }
}

TEST(HelpPages, TableOfContentsListsEveryPageAndTheIndexLinksThemAll) {
    QStringList listed;
    for (const HelpWindow::Topic& topic : HelpWindow::topics())
        listed << topic.page;
    QStringList sortedListed = listed;
    sortedListed.sort();
    EXPECT_EQ(sortedListed, compiledPages());
    EXPECT_EQ(listed.first(), QStringLiteral("index.html"));

    const QString index = readPage(kRoot + QStringLiteral("/index.html"));
    for (const QString& page : listed) {
        if (page != QLatin1String("index.html")) {
            EXPECT_TRUE(index.contains(QStringLiteral("href=\"%1").arg(page))) << page.toStdString();
        }
    }
}

TEST(HelpWindow, IndexShowsTheNonModalWindowOfItsOwner) {
    QWidget owner;
    HelpWindow help(&owner);
    EXPECT_FALSE(help.isVisible());
    ASSERT_TRUE(help.showTopic());
    EXPECT_TRUE(help.isVisible());
    EXPECT_TRUE(help.isWindow());
    EXPECT_EQ(help.parentWidget(), &owner);
    EXPECT_EQ(help.windowModality(), Qt::NonModal);
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Pukapuka☆ダイエット ヘルプ"));
    EXPECT_EQ(help.currentPage(), QStringLiteral("index.html"));
    help.close();
    EXPECT_FALSE(help.isVisible());
}

TEST(HelpWindow, MissingHelpShowsNothing) {
    QWidget owner;
    QTemporaryDir dir;
    HelpWindow notInstalled(&owner);
    notInstalled.setHelpRoot(dir.filePath(QStringLiteral("not-installed")));
    EXPECT_FALSE(notInstalled.showTopic());
    EXPECT_FALSE(notInstalled.showTopic(QStringLiteral("main.html")));
    EXPECT_FALSE(notInstalled.isVisible());
    EXPECT_TRUE(notInstalled.currentPage().isEmpty());

    HelpWindow help(&owner);
    EXPECT_FALSE(help.showTopic(QStringLiteral("nosuch.html")));
    EXPECT_FALSE(help.isVisible());
    ASSERT_TRUE(help.showTopic(QStringLiteral("main.html#face")));
    EXPECT_FALSE(help.showTopic(QStringLiteral("nosuch.html")));
    EXPECT_EQ(help.currentPage(), QStringLiteral("main.html"));
    EXPECT_TRUE(help.isVisible());
}

TEST(HelpWindow, NavigationButtonsAndTopicListFollowThePages) {
    QWidget owner;
    HelpWindow help(&owner);
    auto* back = help.findChild<QToolButton*>(QStringLiteral("helpBack"));
    auto* forward = help.findChild<QToolButton*>(QStringLiteral("helpForward"));
    auto* home = help.findChild<QToolButton*>(QStringLiteral("helpHome"));
    auto* topics = help.findChild<QListWidget*>(QStringLiteral("helpTopics"));
    ASSERT_TRUE(back && forward && home && topics);
    EXPECT_EQ(back->toolTip(), QStringLiteral("戻る"));
    EXPECT_EQ(forward->toolTip(), QStringLiteral("進む"));
    EXPECT_EQ(home->toolTip(), QStringLiteral("目次"));

    help.showTopic();
    EXPECT_FALSE(back->isEnabled());
    help.showTopic(QStringLiteral("calendar.html"));
    EXPECT_EQ(topics->currentItem()->text(), QStringLiteral("カレンダー"));
    back->click();
    EXPECT_EQ(help.currentPage(), QStringLiteral("index.html"));
    EXPECT_EQ(topics->currentRow(), 0);
    ASSERT_TRUE(forward->isEnabled());
    forward->click();
    EXPECT_EQ(help.currentPage(), QStringLiteral("calendar.html"));
    home->click();
    EXPECT_EQ(help.currentPage(), QStringLiteral("index.html"));

    topics->setCurrentRow(2);
    EXPECT_EQ(help.currentPage(), HelpWindow::topics().at(2).page);
}

TEST(HelpWindow, FolderPagesFollowLinksOnlyToPagesThatExist) {
    QTemporaryDir dir;
    writeSmallHelp(dir.path());
    QWidget owner;
    HelpWindow help(&owner);
    help.setHelpRoot(dir.path());
    ASSERT_TRUE(help.showTopic());
    QTextBrowser* view = browser(help);
    Q_EMIT view->anchorClicked(QUrl(QStringLiteral("gone.html")));
    EXPECT_EQ(help.currentPage(), QStringLiteral("index.html"));
    Q_EMIT view->anchorClicked(QUrl(QStringLiteral("other.html")));
    EXPECT_EQ(help.currentPage(), QStringLiteral("other.html"));
}

TEST(HelpWindow, ScreenPictureAppearsOnlyWhenItsFileExists) {
    QTemporaryDir dir;
    writeSmallHelp(dir.path());
    QWidget owner;
    HelpWindow help(&owner);
    help.setHelpRoot(dir.path());

    ASSERT_TRUE(help.showTopic());
    QString text = browser(help)->document()->toPlainText();
    EXPECT_FALSE(text.contains(QStringLiteral("caption-of-shot")));
    EXPECT_TRUE(text.contains(QStringLiteral("top")));
    EXPECT_TRUE(text.contains(QStringLiteral("end")));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("screenshots")));
    QImage picture(1280, 960, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("screenshots/index.png"))));
    help.showTopic(QStringLiteral("other.html"));
    ASSERT_TRUE(help.showTopic());
    text = browser(help)->document()->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("caption-of-shot")));
    EXPECT_TRUE(browser(help)->document()->toHtml().contains(QStringLiteral("screenshots/index.png")));

    // a full-screen picture is shown narrower than the window, in its own proportions
    const QImage shown = browser(help)
                             ->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("screenshots/index.png")))
                             .value<QImage>();
    EXPECT_EQ(shown.size(), QSize(640, 480));
}
